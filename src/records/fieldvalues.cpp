#include "records/fieldvalues.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <limits>

QString CutToWidth(const QString &text, int width)
{
    int characters = 0;
    for (qsizetype i = 0; i < text.size(); ++characters) {
        if (characters == width) {
            return text.left(i);
        }
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
            && text.at(i + 1).isLowSurrogate();
        i += pair ? 2 : 1;
    }
    return text;
}

namespace {

QString rejected(const FieldDef &field, const QVariant &value, const QString &what)
{
    return QStringLiteral("Поле %1: значение \"%2\" %3").arg(field.name, value.toString(), what);
}

bool toDate(const FieldDef &field, const QVariant &value, QVariant *stored, QString *error)
{
    QDate date;
    if (value.typeId() == QMetaType::QDateTime) {
        date = value.toDateTime().date();
    } else if (value.typeId() == QMetaType::QDate) {
        date = value.toDate();
    }
    if (!date.isValid()) {
        *error = rejected(field, value, QStringLiteral("не является датой"));
        return false;
    }
    *stored = date.toString(QLatin1StringView(StoredDateFormat));
    return true;
}

bool toTime(const FieldDef &field, const QVariant &value, QVariant *stored, QString *error)
{
    QTime time;
    if (value.typeId() == QMetaType::QDateTime) {
        time = value.toDateTime().time();
    } else if (value.typeId() == QMetaType::QTime) {
        time = value.toTime();
    }
    if (!time.isValid()) {
        *error = rejected(field, value, QStringLiteral("не является временем суток"));
        return false;
    }
    *stored = time.toString(QLatin1StringView(StoredTimeFormat));
    return true;
}

bool toShortInteger(const FieldDef &field, const QVariant &value, QVariant *stored, QString *error)
{
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok) {
        *error = rejected(field, value, QStringLiteral("не является целым числом"));
        return false;
    }
    if (number < std::numeric_limits<qint16>::min()
        || number > std::numeric_limits<qint16>::max()) {
        *error = rejected(field, value, QStringLiteral("вне диапазона -32768..32767"));
        return false;
    }
    *stored = static_cast<int>(number);
    return true;
}

} // namespace

bool ToStoredValue(const FieldDef &field, const QVariant &value, QVariant *stored, QString *error)
{
    if (field.type == FieldType::Text) {
        const QString text = CutToWidth(value.toString(), field.width);
        // A null text would bind as NULL; key fields must compare equal when empty.
        *stored = text.isNull() ? QStringLiteral("") : text;
        return true;
    }
    // No value, or an empty text, leaves a date, time or number empty.
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty())) {
        *stored = QVariant();
        return true;
    }
    switch (field.type) {
    case FieldType::Date:
        return toDate(field, value, stored, error);
    case FieldType::Time:
        return toTime(field, value, stored, error);
    case FieldType::ShortInteger:
        return toShortInteger(field, value, stored, error);
    case FieldType::Text:
        break;
    }
    return false;
}

namespace {

// The most characters a field's value can have as text.
int textWidth(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Text:
        return field.width;
    case FieldType::Date:
        return int(std::size(StoredDateFormat)) - 1;
    case FieldType::Time:
        return int(std::size(StoredTimeFormat)) - 1;
    case FieldType::ShortInteger:
        return 6; // "-32768"
    }
    return 0;
}

} // namespace

QVariant CutStoredValue(const FieldDef &field, const QVariant &stored)
{
    const int width = textWidth(field);
    if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString();
        return text.size() > width ? QVariant(CutToWidth(text, width)) : stored;
    }
    if (stored.typeId() == QMetaType::QByteArray) {
        // A character takes at most four bytes in UTF-8.
        return CutToWidth(QString::fromUtf8(stored.toByteArray().left(4 * width)), width);
    }
    return stored;
}

qint64 StoredInteger(const QVariant &stored)
{
    bool ok = false;
    if (stored.typeId() != QMetaType::Double) {
        const qint64 number = stored.toLongLong(&ok);
        if (ok) {
            return number;
        }
    }
    const double real = stored.toDouble(&ok);
    if (!ok || std::isnan(real)) {
        return 0;
    }
    // 2^63 is the first double above the range; the lower end is exact.
    if (real >= 9223372036854775808.0) {
        return std::numeric_limits<qint64>::max();
    }
    if (real <= double(std::numeric_limits<qint64>::min())) {
        return std::numeric_limits<qint64>::min();
    }
    return qint64(real);
}
