#include "sequences/windows/digitfilter.h"

#include "shared/codecs.h"

#include <QLineEdit>

void InstallDigitFilter(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString digits = KeepDigits(text);
        if (digits != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(digits);
            edit->setCursorPosition(cursor);
        }
    });
}
