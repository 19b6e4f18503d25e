#include "widgets/panelparts.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

void StyleAsPanelHeader(QLabel *label)
{
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette header = label->palette();
    header.setColor(QPalette::Window, QColor(10, 36, 106));
    header.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(header);
}

void ShowVerdict(QLabel *label, const QString &text, bool fault)
{
    label->setText(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, fault ? QColor(255, 0, 0) : QColor(0, 0, 0));
    label->setPalette(palette);
}

void SetWaitButton(QPushButton *button, bool waiting)
{
    button->setText(waiting ? QStringLiteral("Отмена") : QStringLiteral("OK"));
    button->setIcon(button->style()->standardIcon(
        waiting ? QStyle::SP_DialogCancelButton : QStyle::SP_DialogOkButton));
}
