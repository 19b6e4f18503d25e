#include "widgets/modalowner.h"

#include <QDialog>

int ExecOwnedBy(QDialog &dialog, QWidget *opener)
{
    QWidget *const keeper = dialog.parentWidget();
    QWidget *const owner = opener != nullptr ? opener->window() : keeper;
    const Qt::WindowFlags flags = dialog.windowFlags();
    if (owner != keeper) {
        dialog.setParent(owner, flags);
    }
    const int result = dialog.exec();
    if (owner != keeper) {
        dialog.setParent(keeper, flags);
    }
    return result;
}
