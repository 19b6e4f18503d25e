#include "paradoxwriter.h"

#include "legacy/legacycodepages.h"
#include "records/tableschema.h"

#include <QDate>
#include <QDebug>
#include <QFile>
#include <QHash>
#include <QTime>

// pxlib is a C library whose header does not say so.
extern "C" {
#include <paradox.h>
}

#include <cstdlib>
#include <cstring>

namespace {

constexpr qint64 JulianDayOfDayZero = 1721425;
constexpr int CodePageOffset = 0x6A; // in the header of a version 4 and later table

char pxType(ParadoxType type)
{
    switch (type) {
    case ParadoxType::Text:
        return pxfAlpha;
    case ParadoxType::Date:
        return pxfDate;
    case ParadoxType::Time:
        return pxfTime;
    case ParadoxType::Short:
        return pxfShort;
    }
    return pxfAlpha;
}

int pxLength(const ParadoxFieldSpec &field)
{
    switch (field.type) {
    case ParadoxType::Text:
        return field.width;
    case ParadoxType::Short:
        return 2;
    default:
        return 4;
    }
}

void putValue(pxdoc_t *doc, char *data, const ParadoxFieldSpec &field, const QVariant &value,
    int codePage)
{
    if (value.isNull()) {
        return; // zero bytes: no value
    }
    const int length = pxLength(field);
    switch (field.type) {
    case ParadoxType::Text: {
        QByteArray bytes = EncodeLegacyText(value.toString(), codePage);
        PX_put_data_alpha(doc, data, length, bytes.data());
        break;
    }
    case ParadoxType::Date:
        PX_put_data_long(doc, data, length, int(value.toDate().toJulianDay() - JulianDayOfDayZero));
        break;
    case ParadoxType::Time:
        PX_put_data_long(doc, data, length, value.toTime().msecsSinceStartOfDay());
        break;
    case ParadoxType::Short:
        PX_put_data_short(doc, data, length, short(value.toInt()));
        break;
    }
}

bool clearCodePage(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadWrite) && file.seek(CodePageOffset)
        && file.write(QByteArray(2, '\0')) == 2;
}

} // namespace

QByteArray EncodeLegacyText(const QString &text, int codePage)
{
    static const auto upperHalf = [](int page) {
        QHash<QChar, char> bytes;
        for (int code = 0x80; code < 0x100; ++code) {
            const char byte = char(code);
            bytes.insert(DecodeLegacyText(QByteArrayView(&byte, 1), page).at(0), byte);
        }
        return bytes;
    };
    static const QHash<QChar, char> cp866 = upperHalf(866);
    static const QHash<QChar, char> cp1251 = upperHalf(1251);
    const QHash<QChar, char> &bytes = codePage == 866 ? cp866 : cp1251;
    QByteArray encoded;
    for (const QChar c : text) {
        encoded += c.unicode() < 0x80 ? char(c.unicode()) : bytes.value(c, '?');
    }
    return encoded;
}

QList<ParadoxFieldSpec> ParadoxLayout(const TableSchema &schema)
{
    QList<ParadoxFieldSpec> layout;
    for (const FieldDef &field : schema.fields) {
        ParadoxType type = ParadoxType::Text;
        switch (field.type) {
        case FieldType::Date:
            type = ParadoxType::Date;
            break;
        case FieldType::Time:
            type = ParadoxType::Time;
            break;
        case FieldType::ShortInteger:
            type = ParadoxType::Short;
            break;
        case FieldType::Text:
            break;
        }
        layout.append({ field.name.toLatin1(), type, field.width });
    }
    return layout;
}

bool WriteParadoxTable(const QByteArray &path, const QList<ParadoxFieldSpec> &fields,
    const QList<QVariantList> &rows, int codePage, int keyFields)
{
    return WriteParadoxTable(
        path, fields, int(rows.size()), [&rows](int i) { return rows.at(i); }, codePage,
        keyFields);
}

bool WriteParadoxTable(const QByteArray &path, const QList<ParadoxFieldSpec> &fields,
    int rowCount, const std::function<QVariantList(int)> &row, int codePage, int keyFields)
{
    pxdoc_t *doc = PX_new();
    // pxlib takes the field list over and frees it with the document.
    auto *pxFields = static_cast<pxfield_t *>(std::calloc(fields.size(), sizeof(pxfield_t)));
    int recordSize = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        pxFields[i].px_fname = strdup(fields.at(i).name.constData());
        pxFields[i].px_ftype = pxType(fields.at(i).type);
        pxFields[i].px_flen = pxLength(fields.at(i));
        recordSize += pxFields[i].px_flen;
    }
    const int type = keyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB;
    if (PX_create_file(doc, pxFields, int(fields.size()), path.constData(), type) < 0) {
        qWarning() << "pxlib cannot create" << path;
        PX_delete(doc);
        return false;
    }
    PX_set_parameter(doc, "tablename", "table");
    if (codePage > 0) {
        PX_set_value(doc, "codepage", float(codePage));
    }
    if (keyFields > 0) {
        PX_set_value(doc, "numprimkeys", float(keyFields));
    }
    QByteArray record(recordSize, '\0');
    for (int r = 0; r < rowCount; ++r) {
        const QVariantList values = row(r);
        record.fill('\0');
        char *data = record.data();
        for (qsizetype i = 0; i < fields.size(); ++i) {
            putValue(doc, data, fields.at(i), values.value(i), codePage);
            data += pxLength(fields.at(i));
        }
        if (PX_put_record(doc, record.data()) < 0) {
            qWarning() << "pxlib cannot write a record to" << path;
        }
    }
    PX_close(doc);
    PX_delete(doc);
    return codePage > 0 || clearCodePage(path);
}
