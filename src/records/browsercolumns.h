#pragma once

#include "records/tableschema.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

// What a result browser's grid shows: its columns in order, their titles and widths,
// and how dates and times read. The reports print field values the same way.
struct BrowserColumn
{
    QString field;
    QString title;
    int widthPx = 0; // 0: as wide as the title or the field's length needs
    bool bold = false;
};

struct BrowserDisplay
{
    const TableSchema &schema;
    QList<BrowserColumn> columns;
    // Qt patterns; '/' and ':' stand for the system's separators.
    QString datePattern;
    QString timePattern;

    // The text shown for a value of the named field as stored in the table.
    QString text(const QString &field, const QVariant &stored) const;
    QString text(const FieldDef &field, const QVariant &stored) const;
};

// tests1.DB in the self-test browser: dates as dd.mm.yy, times as hh:mm.
const BrowserDisplay &SelfTestBrowserDisplay();
// Test23.DB in the radio test browser: dates as dd/mm/yy, times as hh:nn; MesM is
// shown before MesG.
const BrowserDisplay &RadioTestBrowserDisplay();

// Reads a stored field of one row by the field's name.
using StoredFieldText = std::function<QString(const QString &field)>;
