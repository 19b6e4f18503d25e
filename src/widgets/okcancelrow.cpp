#include "widgets/okcancelrow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout *OkCancelRow(QDialog *dialog)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    return buttons;
}
