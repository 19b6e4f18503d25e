#pragma once

#include <QIcon>

// The pictures of the result browsers' two glyph buttons, drawn by the program.
QIcon ReportButtonIcon(); // a printed sheet
QIcon FilterButtonIcon(); // a funnel
