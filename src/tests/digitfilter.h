#pragma once

#include <QString>

class QLineEdit;

// Every character that is not a decimal digit becomes "0": typing "12a" leaves "120".
QString DigitsOnly(const QString &text);

// Applies DigitsOnly to the edit whenever its text changes.
void InstallDigitFilter(QLineEdit *edit);

// text padded on the left with "0" to width characters.
QString PadWithZeros(const QString &text, int width);
