#include "legacy/legacyimport.h"

#include "legacy/legacycodepages.h"
#include "legacy/paradoxtable.h"
#include "records/databasetable.h"
#include "records/fieldvalues.h"
#include "records/tableschema.h"

#include <QBitArray>
#include <QFileInfo>
#include <QHash>

#include <memory>

namespace {

constexpr int ProgressStep = 1024; // records between two progress reports
constexpr int ExistingPage = 4096; // rows of ours read at a time

QString kindName(ParadoxTable::FieldKind kind)
{
    switch (kind) {
    case ParadoxTable::FieldKind::Text:
        return QStringLiteral("текст");
    case ParadoxTable::FieldKind::Date:
        return QStringLiteral("дата");
    case ParadoxTable::FieldKind::Time:
        return QStringLiteral("время");
    case ParadoxTable::FieldKind::Integer:
        return QStringLiteral("целое");
    case ParadoxTable::FieldKind::Other:
        break;
    }
    return QStringLiteral("другой тип");
}

bool kindFits(FieldType type, ParadoxTable::FieldKind kind)
{
    switch (type) {
    case FieldType::Text:
        return kind == ParadoxTable::FieldKind::Text;
    case FieldType::Date:
        return kind == ParadoxTable::FieldKind::Date;
    case FieldType::Time:
        return kind == ParadoxTable::FieldKind::Time;
    case FieldType::ShortInteger:
        return kind == ParadoxTable::FieldKind::Integer;
    }
    return false;
}

// A row's values, or some of them, as one key: equal keys for equal values.
QByteArray rowKey(const QVariantList &stored, const QList<int> &fields)
{
    QByteArray key;
    for (const int i : fields) {
        const QVariant &value = stored.at(i);
        key += value.isNull() ? QByteArray("\x01", 1) : '\x02' + value.toString().toUtf8();
        key += '\x1f';
    }
    return key;
}

QString cannotOpen(const DatabaseTable &table)
{
    return QStringLiteral("не удается открыть таблицу %1: %2")
        .arg(table.filePath(), table.errorText());
}

QList<int> allFields(const TableSchema &schema)
{
    QList<int> fields;
    for (int i = 0; i < schema.fields.size(); ++i) {
        fields.append(i);
    }
    return fields;
}

QList<int> keyFields(const TableSchema &schema)
{
    QList<int> fields;
    for (const QString &name : schema.primaryKey) {
        fields.append(schema.fieldIndex(name));
    }
    return fields;
}

// One old table on its way: read and checked first, written afterwards.
class PendingTable
{
public:
    PendingTable(const LegacyTableFile &file, LegacyTableResult *result)
        : m_file(file)
        , m_schema(*file.schema)
        , m_result(*result)
        , m_allFields(allFields(m_schema))
        , m_keyFields(keyFields(m_schema))
    {
        m_result.fileName = file.displayName;
        m_result.tableName = m_schema.fileName;
    }

    bool open(LegacyImportView &view);
    qint64 records() const { return m_source.recordCount(); }
    // Reads every record and decides which to add; false when cancelled.
    bool check(const DatabaseLocation &tables, LegacyImportView &view, qint64 *done, qint64 total);
    void write(const DatabaseLocation &tables);
    bool usable() const { return m_result.outcome == LegacyTableResult::Outcome::Imported; }

private:
    bool failed(const QString &error);
    bool mapFields();
    bool loadExisting(const DatabaseLocation &tables);
    bool readValues(int index, QVariantList *values);
    bool convertRecord(int index, QVariantList *values, QVariantList *stored);
    void decide(int index, const QVariantList &stored);

    LegacyTableFile m_file;
    const TableSchema &m_schema;
    LegacyTableResult &m_result;
    ParadoxTable m_source;
    QList<int> m_sourceOf; // per field of ours: the old table's field, -1 for none
    QList<int> m_allFields;
    QList<int> m_keyFields;
    QHash<QByteArray, int> m_existingRows; // result tables: how often each row is there
    QHash<QByteArray, QByteArray> m_existingKeys; // registers: key to row
    QBitArray m_toAdd;
    QVariantList m_values;
};

bool PendingTable::failed(const QString &error)
{
    m_result.outcome = LegacyTableResult::Outcome::Failed;
    m_result.error = error;
    m_result.added = m_result.alreadyThere = m_result.conflicts = 0;
    return false;
}

bool PendingTable::open(LegacyImportView &view)
{
    if (!m_source.open(m_file.path, m_file.displayName)) {
        return failed(m_source.errorText());
    }
    m_result.records = m_source.recordCount();
    int codePage = m_source.headerCodePage();
    if (!IsKnownCodePage(codePage)) {
        codePage = view.chooseCodePage(m_file.displayName);
        if (!IsKnownCodePage(codePage)) {
            m_result.outcome = LegacyTableResult::Outcome::LeftOut;
            m_result.error = QStringLiteral("кодовая страница текстов не выбрана");
            return false;
        }
        m_result.notes.append(QStringLiteral("тексты прочитаны в кодовой странице %1").arg(codePage));
    }
    m_source.setTextCodePage(codePage);
    return mapFields();
}

bool PendingTable::mapFields()
{
    for (const FieldDef &field : m_schema.fields) {
        const int source = m_source.fieldIndex(field.name);
        if (source < 0) {
            m_result.notes.append(
                QStringLiteral("поля %1 в файле нет, оно оставлено пустым").arg(field.name));
        } else if (!kindFits(field.type, m_source.fields().at(source).kind)) {
            return failed(QStringLiteral("Файл %1: поле %2 имеет тип «%3», он не подходит")
                              .arg(m_file.displayName, field.name,
                                  kindName(m_source.fields().at(source).kind)));
        }
        m_sourceOf.append(source);
    }
    return true;
}

bool PendingTable::loadExisting(const DatabaseLocation &tables)
{
    DatabaseTable table(tables, m_schema);
    // A missing file stays missing until rows are written; a server's table is made.
    if (!tables.onServer() && !QFileInfo::exists(table.filePath())) {
        return true;
    }
    if (!table.open(tables.onServer() ? DatabaseTable::OpenMode::OpenOrCreate
                                      : DatabaseTable::OpenMode::ExistingOnly)) {
        return failed(cannotOpen(table));
    }
    QList<TableRow> rows;
    qint64 after = 0;
    do {
        if (!table.readPage({}, after, ExistingPage, &rows)) {
            return failed(table.errorText());
        }
        for (const TableRow &row : std::as_const(rows)) {
            const QByteArray whole = rowKey(row.values, m_allFields);
            if (m_keyFields.isEmpty()) {
                ++m_existingRows[whole];
            } else {
                m_existingKeys.insert(rowKey(row.values, m_keyFields), whole);
            }
            after = row.rowid;
        }
    } while (rows.size() == ExistingPage);
    return true;
}

// The record's values for our fields, in field order.
bool PendingTable::readValues(int index, QVariantList *values)
{
    if (!m_source.readRecord(index, &m_values)) {
        return failed(m_source.errorText());
    }
    values->clear();
    for (const int source : std::as_const(m_sourceOf)) {
        values->append(source < 0 ? QVariant() : m_values.at(source));
    }
    return true;
}

// The record's values, and the same as the table stores them; a value the table
// could not hold as it is fails the table.
bool PendingTable::convertRecord(int index, QVariantList *values, QVariantList *stored)
{
    if (!readValues(index, values)) {
        return false;
    }
    stored->clear();
    for (int i = 0; i < m_schema.fields.size(); ++i) {
        const FieldDef &field = m_schema.fields.at(i);
        const QVariant &value = values->at(i);
        QString error;
        QVariant converted;
        if (field.type == FieldType::Text && CutToWidth(value.toString(), field.width).size()
                != value.toString().size()) {
            error = QStringLiteral("Поле %1: текст \"%2\" длиннее %3 знаков")
                        .arg(field.name, value.toString())
                        .arg(field.width);
        }
        if (!error.isEmpty() || !ToStoredValue(field, value, &converted, &error)) {
            return failed(QStringLiteral("Файл %1, запись %2 из %3: %4")
                              .arg(m_file.displayName)
                              .arg(index + 1)
                              .arg(m_source.recordCount())
                              .arg(error));
        }
        stored->append(converted);
    }
    return true;
}

void PendingTable::decide(int index, const QVariantList &stored)
{
    if (m_keyFields.isEmpty() && m_existingRows.isEmpty()) {
        m_toAdd.setBit(index);
        ++m_result.added;
        return;
    }
    const QByteArray whole = rowKey(stored, m_allFields);
    if (m_keyFields.isEmpty()) {
        const auto it = m_existingRows.find(whole);
        if (it != m_existingRows.end() && it.value() > 0) {
            --it.value();
            ++m_result.alreadyThere;
            return;
        }
    } else {
        const QByteArray key = rowKey(stored, m_keyFields);
        const auto it = m_existingKeys.constFind(key);
        if (it != m_existingKeys.constEnd()) {
            ++(it.value() == whole ? m_result.alreadyThere : m_result.conflicts);
            return;
        }
        m_existingKeys.insert(key, whole);
    }
    m_toAdd.setBit(index);
    ++m_result.added;
}

bool PendingTable::check(
    const DatabaseLocation &tables, LegacyImportView &view, qint64 *done, qint64 total)
{
    if (!loadExisting(tables)) {
        *done += records();
        return true;
    }
    m_toAdd.resize(records());
    QVariantList values;
    QVariantList stored;
    for (int i = 0; i < records(); ++i) {
        if (i % ProgressStep == 0 && !view.progress(m_file.displayName, *done + i, total)) {
            return false;
        }
        if (!convertRecord(i, &values, &stored)) {
            break;
        }
        decide(i, stored);
    }
    *done += records();
    m_existingRows.clear();
    m_existingKeys.clear();
    return true;
}

void PendingTable::write(const DatabaseLocation &tables)
{
    if (m_result.added == 0) {
        return;
    }
    DatabaseTable table(tables, m_schema);
    if (!table.open(DatabaseTable::OpenMode::OpenOrCreate) || !table.beginTransaction()) {
        failed(cannotOpen(table));
        return;
    }
    QVariantList values;
    for (int i = 0; i < records(); ++i) {
        if (!m_toAdd.testBit(i)) {
            continue;
        }
        if (!readValues(i, &values)) {
            table.rollback();
            return;
        }
        if (!table.append(values)) {
            const QString error = table.errorText();
            table.rollback();
            failed(error);
            return;
        }
    }
    if (!table.commit()) {
        const QString error = table.errorText();
        table.rollback();
        failed(error);
    }
}

} // namespace

bool LegacyImportResult::succeeded() const
{
    if (cancelled) {
        return false;
    }
    for (const LegacyTableResult &table : tables) {
        if (table.outcome != LegacyTableResult::Outcome::Imported) {
            return false;
        }
    }
    return true;
}

LegacyImportResult ImportLegacyTables(
    const QList<LegacyTableFile> &files, const DatabaseLocation &tables, LegacyImportView &view)
{
    LegacyImportResult result;
    result.tables.resize(files.size());
    std::vector<std::unique_ptr<PendingTable>> pending;
    qint64 total = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto table = std::make_unique<PendingTable>(files.at(i), &result.tables[i]);
        if (table->open(view)) {
            total += table->records();
        }
        pending.push_back(std::move(table));
    }
    qint64 done = 0;
    for (const auto &table : pending) {
        if (table->usable() && !table->check(tables, view, &done, total)) {
            result.cancelled = true;
            return result;
        }
    }
    view.writing();
    for (const auto &table : pending) {
        if (table->usable()) {
            table->write(tables);
        }
    }
    return result;
}

QString LegacyImportSummary(const LegacyImportResult &result)
{
    if (result.cancelled) {
        return QStringLiteral("Импорт отменён, таблицы остались как были.");
    }
    QStringList lines;
    for (const LegacyTableResult &table : result.tables) {
        QString line;
        if (table.outcome == LegacyTableResult::Outcome::Imported) {
            line = QStringLiteral("%1: записей в файле %2, добавлено %3")
                       .arg(table.tableName)
                       .arg(table.records)
                       .arg(table.added);
            if (table.alreadyThere > 0) {
                line += QStringLiteral(", уже были в таблице %1").arg(table.alreadyThere);
            }
            if (table.conflicts > 0) {
                line += QStringLiteral(", ключ уже занят другой записью %1 (оставлены записи таблицы)")
                            .arg(table.conflicts);
            }
        } else {
            line = QStringLiteral("%1: не перенесена (%2)").arg(table.tableName, table.error);
        }
        for (const QString &note : table.notes) {
            line += QStringLiteral("; ") + note;
        }
        lines.append(line);
    }
    if (lines.isEmpty()) {
        return QStringLiteral("Таблиц прежней программы не найдено.");
    }
    return lines.join(u'\n');
}
