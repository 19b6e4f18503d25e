#pragma once

#include <QFileDialog>
#include <QString>

#include <functional>

class QWidget;

// Asks where to save a file: the chosen path, or empty when the operator cancels.
// Tests put a function of their own in place of the system's dialog.
using SaveFileChooser = std::function<QString(
    QWidget *parent, const QString &caption, const QString &suggested, const QString &filters)>;

inline QString ChooseFileToSave(
    QWidget *parent, const QString &caption, const QString &suggested, const QString &filters)
{
    return QFileDialog::getSaveFileName(parent, caption, suggested, filters);
}
