#include "records/windows/reportoptionsdialog.h"

#include "widgets/appearance.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr QSize LeastSize(207, 175);

QGroupBox *radioGroup(QWidget *parent, const char *name, const QString &title,
    QRadioButton **first, QRadioButton **second, const QString &firstText,
    const QString &secondText)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(group);
    *first = new QRadioButton(firstText, group);
    *second = new QRadioButton(secondText, group);
    layout->addWidget(*first);
    layout->addWidget(*second);
    (*first)->setChecked(true);
    return group;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

TForm2::TForm2(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Параметры отчета"));
    m_include = radioGroup(this, "RadioGroup1", QStringLiteral("Включить в отчет:"), &m_all,
        &m_selected, QStringLiteral("Все записи"), QStringLiteral("Выделенные"));
    QGroupBox *format = radioGroup(this, "RadioGroup2", QStringLiteral("Формат таблицы"),
        &m_compressed, &m_expanded, QStringLiteral("Сжатый"), QStringLiteral("Развернутый"));

    QPushButton *ok = button(this, "bOK", QStringLiteral("OK"));
    ok->setDefault(true);
    QPushButton *cancel = button(this, "bCancel", QStringLiteral("Отмена"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_include);
    layout->addWidget(format);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->activate();
    setFixedSize(sizeHint().expandedTo(LeastSize).expandedTo(QSize(WidthForTitle(*this), 0)));

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm2::setRowsSelected(bool anySelected)
{
    if (!anySelected) {
        m_all->setChecked(true);
    }
    m_include->setEnabled(anySelected);
}

bool TForm2::selectedOnly() const
{
    return m_selected->isChecked();
}

bool TForm2::expanded() const
{
    return m_expanded->isChecked();
}
