#include "records/windows/databasedialog.h"

#include "records/databaseserver.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *line = new QLineEdit(parent);
    line->setObjectName(QLatin1StringView(name));
    line->setAccessibleName(QLatin1StringView(name));
    return line;
}

QPushButton *button(QDialogButtonBox *box, const QString &text, const char *name,
    QDialogButtonBox::ButtonRole role)
{
    QPushButton *pushButton = box->addButton(text, role);
    pushButton->setObjectName(QLatin1StringView(name));
    return pushButton;
}

} // namespace

TDatabaseDialog::TDatabaseDialog(const DatabaseLocation &current, QWidget *parent)
    : QDialog(parent)
    , m_current(current)
{
    setObjectName(QStringLiteral("TDatabaseDialog"));
    setWindowTitle(QStringLiteral("База данных"));
    auto *layout = new QVBoxLayout(this);

    m_where = new QLabel(this);
    m_where->setObjectName(QStringLiteral("CurrentDatabase"));
    m_where->setWordWrap(true);
    m_where->setText(QStringLiteral("Таблицы сейчас: ") + DescribeLocation(current));
    layout->addWidget(m_where);

    m_directory = new QRadioButton(QStringLiteral("Каталог"), this);
    m_directory->setObjectName(QStringLiteral("DirectoryChoice"));
    layout->addWidget(m_directory);
    auto *directory = new QLabel(DescribeLocation(DatabaseLocation(current.directory)), this);
    directory->setObjectName(QStringLiteral("TablesDirectory"));
    directory->setIndent(20);
    layout->addWidget(directory);

    m_server = new QRadioButton(QStringLiteral("Сервер PostgreSQL"), this);
    m_server->setObjectName(QStringLiteral("ServerChoice"));
    layout->addWidget(m_server);
    auto *form = new QFormLayout;
    m_host = edit("ServerHost", this);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("ServerPort"));
    m_port->setAccessibleName(QStringLiteral("ServerPort"));
    m_port->setRange(1, 65535);
    m_database = edit("ServerDatabase", this);
    m_user = edit("ServerUser", this);
    form->addRow(QStringLiteral("Сервер:"), m_host);
    form->addRow(QStringLiteral("Порт:"), m_port);
    form->addRow(QStringLiteral("База данных:"), m_database);
    form->addRow(QStringLiteral("Пользователь:"), m_user);
    layout->addLayout(form);
    auto *password = new QLabel(
        QStringLiteral("Пароль программа не хранит: он берётся из файла ~/.pgpass "
                       "(или из файла, названного в PGPASSFILE)."),
        this);
    password->setWordWrap(true);
    layout->addWidget(password);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("ConnectionStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(this);
    connect(button(buttons, QStringLiteral("Проверить"), "TestButton",
                QDialogButtonBox::ActionRole),
        &QPushButton::clicked, this, &TDatabaseDialog::testConnection);
    connect(button(buttons, QStringLiteral("Сохранить"), "SaveButton",
                QDialogButtonBox::ApplyRole),
        &QPushButton::clicked, this, &TDatabaseDialog::save);
    connect(button(buttons, QStringLiteral("Закрыть"), "CloseButton",
                QDialogButtonBox::RejectRole),
        &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_server, &QRadioButton::toggled, this, [this] {
        for (QWidget *field : { static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_port),
                 static_cast<QWidget *>(m_database), static_cast<QWidget *>(m_user) }) {
            field->setEnabled(m_server->isChecked());
        }
    });
    showChoice();
}

int TDatabaseDialog::exec()
{
    showChoice();
    return QDialog::exec();
}

void TDatabaseDialog::showChoice()
{
    const std::optional<ServerAddress> recorded = ReadAliasServer();
    const ServerAddress server = recorded.value_or(m_current.server);
    m_host->setText(server.host);
    m_port->setValue(server.port);
    m_database->setText(server.database);
    m_user->setText(server.user);
    m_server->setChecked(true); // sets the edits' state even when the choice is the directory
    m_directory->setChecked(!recorded);
    m_status->clear();
}

std::optional<ServerAddress> TDatabaseDialog::chosenServer() const
{
    if (!m_server->isChecked()) {
        return std::nullopt;
    }
    return ServerAddress { m_host->text().trimmed(), m_port->value(),
        m_database->text().trimmed(), m_user->text().trimmed() };
}

void TDatabaseDialog::testConnection()
{
    const std::optional<ServerAddress> server = chosenServer();
    QString error;
    if (!server) {
        m_status->setText(QStringLiteral("Таблицы в каталоге проверять не нужно"));
    } else if (TryServerConnection(*server, &error)) {
        m_status->setText(QStringLiteral("Соединение с сервером установлено"));
    } else {
        m_status->setText(error);
    }
}

void TDatabaseDialog::save()
{
    QString error;
    if (!ChooseDatabase(chosenServer(), &error)) {
        m_status->setText(error);
        return;
    }
    m_status->setText(QStringLiteral("Настройка сохранена. Она будет действовать со следующего "
                                     "запуска программы."));
}
