#pragma once

#include "widgets/resultlinesview.h"

#include <QTextBlock>
#include <QTextDocument>

// The lines a result view shows, read back from its document with their colours.
inline ResultLines ShownLines(const ResultLinesView &view)
{
    ResultLines lines;
    if (view.document()->isEmpty()) {
        return lines;
    }
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        QColor colour = block.charFormat().foreground().color();
        if (block.begin() != block.end()) {
            colour = block.begin().fragment().charFormat().foreground().color();
        }
        lines.append({ block.text(), colour });
    }
    return lines;
}
