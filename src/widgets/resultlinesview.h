#pragma once

#include "shared/resulttext.h"

#include <QTextEdit>

// A read-only view of decoded result lines, each in its own colour.
class ResultLinesView : public QTextEdit
{
    Q_OBJECT
public:
    explicit ResultLinesView(QWidget *parent = nullptr);

    // Replaces the shown lines.
    void setLines(const ResultLines &lines);
};
