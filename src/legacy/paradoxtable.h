#pragma once

#include "legacy/paradoxmemory.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariantList>

#include <cstdio>

struct px_doc;

// One Paradox table file (.DB) of the earlier program, read through pxlib.
//
// Opening checks the header against the file's length and the field layout
// against the record size, so that a truncated or damaged file is refused before
// any record is read; every failure, also while reading, is a Russian text that
// names the file and the position. Usable on its own: it knows nothing of the
// program's tables.
class ParadoxTable
{
public:
    enum class FieldKind { Text, Date, Time, Integer, Other };

    struct Field
    {
        QString name;
        FieldKind kind = FieldKind::Other;
        int length = 0; // bytes in the record
    };

    // The fixed start of a header (the first HeaderStart bytes) is that of a
    // Paradox data table, a damaged one included.
    static constexpr int HeaderStart = 0x3A;
    static bool isTableHeader(QByteArrayView start);

    ParadoxTable();
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable &) = delete;
    ParadoxTable &operator=(const ParadoxTable &) = delete;

    // path: the file name as the file system has it (bytes, any encoding);
    // displayName: how messages name it. The file is read into memory whole.
    bool open(const QByteArray &path, const QString &displayName);
    // The same for a file's bytes.
    bool openContent(const QByteArray &content, const QString &displayName);
    void close();

    const QString &errorText() const { return m_error; }
    const QList<Field> &fields() const { return m_fields; }
    // Index of the field of that name, compared without regard to letter case; -1.
    int fieldIndex(const QString &name) const;
    int recordCount() const { return m_recordCount; }
    // The code page the header names, 0 when it names none.
    int headerCodePage() const { return m_codePage; }

    // The code page texts are decoded with (see DecodeLegacyText).
    void setTextCodePage(int codePage) { m_textCodePage = codePage; }

    // Reads record number index (from 0) into values, one per field: a QString for
    // a text, a QDate, a QTime (an invalid one when the stored value is not a day
    // or a time of day), an int, and a null QVariant for an empty value or a field
    // of another type.
    bool readRecord(int index, QVariantList *values);

private:
    bool fail(const QString &text);
    bool checkLength();
    bool checkBlockChain();
    bool checkHeader();
    QVariant fieldValue(const Field &field, char *data);

    QByteArray m_content;
    FILE *m_stream = nullptr; // over m_content: pxlib seeks for every record
    ParadoxMemory m_memory; // outlives m_doc: declared before it
    px_doc *m_doc = nullptr;
    QString m_name;
    QString m_error;
    QString m_libraryMessage; // the last complaint of pxlib
    QList<Field> m_fields;
    QByteArray m_record;
    int m_recordCount = 0;
    int m_codePage = 0;
    int m_textCodePage = 1251;
};
