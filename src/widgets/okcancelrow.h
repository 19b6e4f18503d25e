#pragma once

class QDialog;
class QHBoxLayout;

// The centred buttons "OK" (the default, accepts) and "Отмена" (rejects) at the foot
// of a settings dialog, as a row for the dialog's layout.
QHBoxLayout *OkCancelRow(QDialog *dialog);
