#include "tests/digitfilter.h"

#include <QLineEdit>

QString DigitsOnly(const QString &text)
{
    QString digits = text;
    for (QChar &c : digits) {
        if (c < u'0' || c > u'9') {
            c = u'0';
        }
    }
    return digits;
}

void InstallDigitFilter(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString digits = DigitsOnly(text);
        if (digits != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(digits);
            edit->setCursorPosition(cursor);
        }
    });
}

QString PadWithZeros(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), u'0') + text;
}
