#include "stats/browserexport.h"

#include "records/browserreportrows.h"
#include "records/fieldvalues.h"

namespace {

constexpr qint64 ProgressEveryRows = 1000;

QVariant cellValue(const FieldDef &field, const QVariant &stored)
{
    if (stored.isNull()) {
        return {};
    }
    switch (field.type) {
    case FieldType::Date: {
        const QDate day = QDate::fromString(stored.toString(), QLatin1StringView(StoredDateFormat));
        return day.isValid() ? QVariant(day) : stored;
    }
    case FieldType::Time: {
        const QTime time = QTime::fromString(stored.toString(), QLatin1StringView(StoredTimeFormat));
        return time.isValid() ? QVariant(time) : stored;
    }
    case FieldType::ShortInteger:
        return stored.toInt();
    case FieldType::Text:
        break;
    }
    return stored.toString();
}

} // namespace

QString JoinedResultLines(const ResultLines &lines)
{
    QStringList texts;
    for (const ResultLine &line : lines) {
        texts.append(line.text.trimmed());
    }
    return texts.join(QStringLiteral("; "));
}

bool ExportBrowserRows(BrowserReportRows &rows, const BrowserDisplay &display,
    const std::function<ResultLines(const StoredFieldText &)> &decode, ExportWriter &writer,
    const QString &path, const std::function<bool(qint64)> &progress, QString *error)
{
    const TableSchema &schema = display.schema;
    QStringList labels;
    QList<int> fieldIndexes;
    for (const BrowserColumn &column : display.columns) {
        labels.append(column.title);
        fieldIndexes.append(schema.fieldIndex(column.field));
    }
    labels.append(CommentsLabel);
    if (!writer.begin(path, labels)) {
        *error = writer.errorText();
        return false;
    }

    QVariantList stored;
    QVariantList cells;
    qint64 written = 0;
    while (rows.nextStored(stored)) {
        cells.clear();
        for (const int index : std::as_const(fieldIndexes)) {
            cells.append(index < 0 ? QVariant() : cellValue(schema.fields.at(index), stored.value(index)));
        }
        cells.append(JoinedResultLines(decode([&](const QString &field) {
            return stored.value(schema.fieldIndex(field)).toString();
        })));
        if (!writer.writeRow(cells)) {
            *error = writer.errorText();
            return false;
        }
        ++written;
        if (written % ProgressEveryRows == 0 && progress && !progress(written)) {
            error->clear();
            return false; // the writer drops what it has
        }
    }
    if (!rows.errorString().isEmpty()) {
        *error = rows.errorString();
        return false;
    }
    if (!writer.finish()) {
        *error = writer.errorText();
        return false;
    }
    return true;
}
