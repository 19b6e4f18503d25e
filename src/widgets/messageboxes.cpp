#include "widgets/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString title()
{
    return QStringLiteral("ТЕЛВ-2");
}

// The box belongs to the window the operator works in: the open modal window, else
// the active one, so that closing the box gives the focus back to that window.
QWidget *owner()
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : QApplication::activeWindow();
}

} // namespace

void MessageBoxes::showError(const QString &text)
{
    QMessageBox::critical(owner(), title(), text, QMessageBox::Ok);
}

OperatorMessages::Answer MessageBoxes::ask(const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    switch (QMessageBox::warning(owner(), title(), text, buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}
