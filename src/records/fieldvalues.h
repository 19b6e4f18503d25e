#pragma once

#include "records/tableschema.h"

#include <QString>
#include <QVariant>

// Text and date forms of the values kept in the tables.
inline constexpr char StoredDateFormat[] = "yyyy-MM-dd";
inline constexpr char StoredTimeFormat[] = "HH:mm:ss.zzz";

// The first width characters of text (a character being a whole code point, so a
// surrogate pair is never split).
QString CutToWidth(const QString &text, int width);

// The value as stored in a field of this definition: a QDate or QDateTime as date
// text, a QTime or QDateTime as time text, a text cut to the field's width, a short
// integer checked against its range. A text field holds an empty text for no value
// (so that key fields never hold NULL); a date, time or number field left without
// a value, or given an empty text, holds NULL.
// Returns false and sets error for a value the field cannot hold.
bool ToStoredValue(const FieldDef &field, const QVariant &value, QVariant *stored, QString *error);

// A value as read from a field. A text longer than the field can hold (only a file
// written by another program has one) is cut to the field's width, a text in a date,
// time or number field to the length of that form, so that no grid, decoder or report
// is ever handed more. Other values stay as they are.
QVariant CutStoredValue(const FieldDef &field, const QVariant &stored);

// A stored number as a 64-bit integer, without wrapping: a foreign file may hold any
// integer, a real beyond the range (taken as the nearest end) or a text (0 unless it
// reads as a number).
qint64 StoredInteger(const QVariant &stored);
