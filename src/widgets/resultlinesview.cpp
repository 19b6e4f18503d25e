#include "widgets/resultlinesview.h"

#include <QTextCharFormat>
#include <QTextCursor>

ResultLinesView::ResultLinesView(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
}

void ResultLinesView::setLines(const ResultLines &lines)
{
    clear();
    QTextCursor cursor(document());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            cursor.insertBlock();
        }
        QTextCharFormat format;
        format.setForeground(lines.at(i).colour);
        cursor.insertText(lines.at(i).text, format);
    }
}
