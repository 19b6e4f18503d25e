#include "console/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString title()
{
    return QStringLiteral("ТЕЛВ-2");
}

} // namespace

void MessageBoxes::showError(const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), title(), text, QMessageBox::Ok);
}

OperatorMessages::Answer MessageBoxes::ask(const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    switch (QMessageBox::warning(QApplication::activeWindow(), title(), text, buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}
