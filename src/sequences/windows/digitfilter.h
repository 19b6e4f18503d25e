#pragma once

#include <QString>

class QLineEdit;

// Applies the digit rule (KeepDigits: typing "12a" leaves "120") to the edit
// whenever its text changes.
void InstallDigitFilter(QLineEdit *edit);
