#pragma once

#include <QRect>

#include <functional>

class QComboBox;
class QDialog;
class QPushButton;

// Pieces the two range dialogs share.

// The label "Диапазон:" at y and the range list ComboBox1 with the six selectable
// ranges at listGeometry; a change of the list goes to comboChange (the dialog's
// member, set by the main window after the dialog exists).
QComboBox *AddRangeList(
    QDialog *dialog, int y, const QRect &listGeometry, const std::function<void(int)> &comboChange);

struct OkCancelButtons
{
    QPushButton *ok = nullptr; // BitBtn1, the default
    QPushButton *cancel = nullptr; // BitBtn2, rejects the dialog
};

// OK and "Отмена" side by side from x at y.
OkCancelButtons AddOkCancelButtons(QDialog *dialog, int x, int y);
