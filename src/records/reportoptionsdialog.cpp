#include "records/reportoptionsdialog.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox *radioGroup(QWidget *parent, const char *name, const QString &title,
    const QRect &geometry, QRadioButton **first, QRadioButton **second, const QString &firstText,
    const QString &secondText)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    auto *layout = new QVBoxLayout(group);
    *first = new QRadioButton(firstText, group);
    *second = new QRadioButton(secondText, group);
    layout->addWidget(*first);
    layout->addWidget(*second);
    (*first)->setChecked(true);
    return group;
}

} // namespace

TForm2::TForm2(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QString());
    setFixedSize(207, 175);
    m_include
        = radioGroup(this, "RadioGroup1", QStringLiteral("Включить в отчет:"), { 8, 4, 191, 64 },
            &m_all, &m_selected, QStringLiteral("Все записи"), QStringLiteral("Выделенные"));
    radioGroup(this, "RadioGroup2", QStringLiteral("Формат таблицы"), { 8, 72, 191, 64 },
        &m_compressed, &m_expanded, QStringLiteral("Сжатый"), QStringLiteral("Развернутый"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setGeometry(16, 142, 80, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("bCancel"));
    cancel->setGeometry(110, 142, 80, 25);
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
