#include "records/databasetable.h"

#include "records/fieldvalues.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QByteArray SqliteHeader("SQLite format 3\0", 16);

// Files that a connection of this process holds open. Closing any descriptor of
// such a file would drop every POSIX lock the process holds on it, SQLite's
// included, so the header of an open file is not read again.
QHash<QString, int> &openFiles()
{
    static QHash<QString, int> files;
    return files;
}

QString engineText(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// SQLite's extended result codes of the refusals an operator can cause by typing.
constexpr auto UniqueViolation = QLatin1StringView("2067");
constexpr auto KeyViolation = QLatin1StringView("1555");
constexpr auto NotNullViolation = QLatin1StringView("1299");

// The engine's text of a failed change, behind a Russian sentence for the refusals
// that an operator's edit can meet.
QString changeErrorText(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code == KeyViolation || code == UniqueViolation) {
        return QStringLiteral("Нарушение ключа: запись с таким ключом уже есть (%1)")
            .arg(engineText(error));
    }
    if (code == NotNullViolation) {
        return QStringLiteral("Не заполнено обязательное поле (%1)").arg(engineText(error));
    }
    return engineText(error);
}

// The file holds nothing yet or begins as an SQLite database does.
bool hasDatabaseHeader(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Не удается открыть файл %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray head = file.read(SqliteHeader.size());
    file.close();
    if (!head.isEmpty() && head != SqliteHeader) {
        *error = QStringLiteral("Файл %1 не является базой данных SQLite").arg(path);
        return false;
    }
    return true;
}

enum class TableState { Absent, Matches, Different, Unreadable };

// What the database holds: nothing at all, the table as defined, or something else.
TableState inspect(QSqlDatabase &db, const TableSchema &schema, QString *error)
{
    QSqlQuery objects(db);
    if (!objects.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master"))) {
        *error = engineText(objects.lastError());
        return TableState::Unreadable;
    }
    bool anything = false;
    QString tableSql;
    bool found = false;
    while (objects.next()) {
        anything = true;
        if (objects.value(0).toString() == QLatin1String("table")
            && objects.value(1).toString().compare(schema.tableName, Qt::CaseInsensitive) == 0) {
            found = true;
            tableSql = objects.value(2).toString();
        }
    }
    objects.finish();
    if (!anything) {
        return TableState::Absent;
    }
    static const QRegularExpression withoutRowid(
        QStringLiteral("WITHOUT\\s+ROWID"), QRegularExpression::CaseInsensitiveOption);
    if (!found || tableSql.contains(withoutRowid)) {
        return TableState::Different;
    }

    QSqlQuery columns(db);
    if (!columns.exec(
            QStringLiteral("PRAGMA table_info(") + QuotedIdentifier(schema.tableName) + u')')) {
        *error = engineText(columns.lastError());
        return TableState::Unreadable;
    }
    int index = 0;
    bool same = true;
    while (columns.next()) {
        if (index >= schema.fields.size()) {
            same = false;
            break;
        }
        const FieldDef &field = schema.fields.at(index);
        const int keyPosition = schema.primaryKey.indexOf(field.name) + 1;
        same = same && columns.value(1).toString().compare(field.name, Qt::CaseInsensitive) == 0
            && columns.value(2).toString().compare(SqlColumnType(field.type), Qt::CaseInsensitive)
                == 0
            && columns.value(5).toInt() == keyPosition;
        ++index;
    }
    columns.finish();
    return same && index == schema.fields.size() ? TableState::Matches : TableState::Different;
}

int nextConnectionNumber()
{
    static QAtomicInteger<int> counter;
    return ++counter;
}

} // namespace

DatabaseTable::DatabaseTable(QString directory, const TableSchema &schema)
    : m_directory(std::move(directory))
    , m_schema(schema)
{ }

DatabaseTable::~DatabaseTable()
{
    close();
}

QString DatabaseTable::filePath() const
{
    return QDir(m_directory).absoluteFilePath(m_schema.fileName);
}

bool DatabaseTable::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool DatabaseTable::requireOpen()
{
    return isOpen() || fail(QStringLiteral("Таблица %1 не открыта").arg(m_schema.fileName));
}

bool DatabaseTable::open(OpenMode mode)
{
    close();
    m_error.clear();
    const QString path = filePath();
    const QFileInfo info(path);
    if (!info.exists()) {
        if (mode == OpenMode::ExistingOnly) {
            return fail(QStringLiteral("Таблица %1 не найдена").arg(path));
        }
    } else if (!info.isFile()) {
        return fail(QStringLiteral("%1 не является файлом").arg(path));
    } else if (!openFiles().contains(path) && !hasDatabaseHeader(path, &m_error)) {
        return false;
    }
    if (!openConnection()) {
        return false;
    }
    if (!prepareTable(mode)) {
        const QString error = m_error;
        close();
        m_error = error;
        return false;
    }
    return true;
}

bool DatabaseTable::openConnection()
{
    const QString name = QStringLiteral("telv2-table-%1").arg(nextConnectionNumber());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(filePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (db.open()) {
            m_connection = name;
            ++openFiles()[filePath()];
            return true;
        }
        m_error = engineText(db.lastError());
    }
    QSqlDatabase::removeDatabase(name);
    return false;
}

bool DatabaseTable::prepareTable(OpenMode mode)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    switch (inspect(db, m_schema, &m_error)) {
    case TableState::Unreadable:
        return false;
    case TableState::Different:
        return fail(QStringLiteral("В файле %1 нет таблицы %2 нужной структуры")
                        .arg(filePath(), m_schema.tableName));
    case TableState::Matches:
        return setDurability();
    case TableState::Absent:
        break;
    }
    if (mode == OpenMode::ExistingOnly) {
        return fail(QStringLiteral("Таблица %1 не найдена").arg(filePath()));
    }
    if (!setDurability()) {
        return false;
    }
    QSqlQuery create(db);
    if (!create.exec(CreateTableStatement(m_schema))) {
        return fail(engineText(create.lastError()));
    }
    return true;
}

bool DatabaseTable::setDurability()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery pragma(db);
    // The journal mode persists in the file; if another connection holds a lock
    // right now the file keeps its journal, which is as crash-safe, only slower.
    if (pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        pragma.finish();
    }
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        return fail(engineText(pragma.lastError()));
    }
    return true;
}

bool DatabaseTable::close()
{
    if (m_connection.isEmpty()) {
        return true;
    }
    bool closed = true;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        const QSqlError before = db.lastError();
        db.close();
        const QSqlError after = db.lastError();
        if (after.isValid() && after.text() != before.text()) {
            closed = fail(engineText(after));
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
    auto &files = openFiles();
    const auto it = files.find(filePath());
    if (it != files.end() && --it.value() == 0) {
        files.erase(it);
    }
    return closed;
}

bool DatabaseTable::toStoredRow(const QVariantList &values, QVariantList *stored)
{
    if (values.size() != m_schema.fields.size()) {
        return fail(QStringLiteral("Таблица %1: %2 значений вместо %3")
                        .arg(m_schema.fileName)
                        .arg(values.size())
                        .arg(m_schema.fields.size()));
    }
    stored->clear();
    for (int i = 0; i < values.size(); ++i) {
        QVariant value;
        if (!ToStoredValue(m_schema.fields.at(i), values.at(i), &value, &m_error)) {
            return false;
        }
        stored->append(value);
    }
    return true;
}

// Prepares the insertion of one row of stored values, bound in field order.
void DatabaseTable::prepareInsert(QSqlQuery &query, const QVariantList &stored) const
{
    const QStringList placeholders(stored.size(), QStringLiteral("?"));
    query.prepare(QStringLiteral("INSERT INTO ") + QuotedIdentifier(m_schema.tableName)
        + QStringLiteral(" VALUES (") + placeholders.join(u',') + u')');
    for (const QVariant &value : stored) {
        query.addBindValue(value);
    }
}

bool DatabaseTable::append(const QVariantList &values)
{
    if (!requireOpen()) {
        return false;
    }
    QVariantList stored;
    if (!toStoredRow(values, &stored)) {
        return false;
    }
    QSqlQuery insert(QSqlDatabase::database(m_connection, false));
    prepareInsert(insert, stored);
    if (!insert.exec()) {
        return fail(engineText(insert.lastError()));
    }
    return true;
}

QString DatabaseTable::filterCondition(const RowFilter &filter, QVariantList *binds) const
{
    QStringList conditions;
    if (filter.fromDay) {
        conditions.append(QStringLiteral("\"Date\" >= ?"));
        binds->append(filter.fromDay->toString(QLatin1StringView(StoredDateFormat)));
    }
    if (filter.toDay) {
        conditions.append(QStringLiteral("\"Date\" <= ?"));
        binds->append(filter.toDay->toString(QLatin1StringView(StoredDateFormat)));
    }
    return conditions.join(QStringLiteral(" AND "));
}

qint64 DatabaseTable::rowCount(const RowFilter &filter)
{
    if (!requireOpen()) {
        return -1;
    }
    QVariantList binds;
    const QString condition = filterCondition(filter, &binds);
    QSqlQuery count(QSqlDatabase::database(m_connection, false));
    count.prepare(QStringLiteral("SELECT count(*) FROM ") + QuotedIdentifier(m_schema.tableName)
        + (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition));
    for (const QVariant &value : std::as_const(binds)) {
        count.addBindValue(value);
    }
    if (!count.exec() || !count.next()) {
        fail(engineText(count.lastError()));
        return -1;
    }
    const qint64 rows = count.value(0).toLongLong();
    count.finish();
    return rows;
}

// Reads the rows of an executed "SELECT rowid, * ..." query; a read that fails
// midway leaves no rows behind.
bool DatabaseTable::collectRows(QSqlQuery &query, QList<TableRow> *rows)
{
    const int fields = m_schema.fields.size();
    while (query.next()) {
        TableRow row;
        row.rowid = query.value(0).toLongLong();
        row.values.reserve(fields);
        for (int i = 1; i <= fields; ++i) {
            row.values.append(query.value(i));
        }
        rows->append(std::move(row));
    }
    if (query.lastError().isValid()) {
        rows->clear();
        return fail(engineText(query.lastError()));
    }
    query.finish();
    return true;
}

bool DatabaseTable::readPage(
    const RowFilter &filter, qint64 afterRowid, int limit, QList<TableRow> *rows)
{
    rows->clear();
    if (!requireOpen()) {
        return false;
    }
    QVariantList binds { afterRowid };
    const QString condition = filterCondition(filter, &binds);
    binds.append(limit);
    QSqlQuery page(QSqlDatabase::database(m_connection, false));
    page.setForwardOnly(true);
    page.prepare(QStringLiteral("SELECT rowid, * FROM ") + QuotedIdentifier(m_schema.tableName)
        + QStringLiteral(" WHERE rowid > ?")
        + (condition.isEmpty() ? QString() : QStringLiteral(" AND ") + condition)
        + QStringLiteral(" ORDER BY rowid LIMIT ?"));
    for (const QVariant &value : std::as_const(binds)) {
        page.addBindValue(value);
    }
    if (!page.exec()) {
        return fail(engineText(page.lastError()));
    }
    return collectRows(page, rows);
}

bool DatabaseTable::deleteRow(qint64 rowid)
{
    if (!requireOpen()) {
        return false;
    }
    QSqlQuery remove(QSqlDatabase::database(m_connection, false));
    remove.prepare(QStringLiteral("DELETE FROM ") + QuotedIdentifier(m_schema.tableName)
        + QStringLiteral(" WHERE rowid = ?"));
    remove.addBindValue(rowid);
    if (!remove.exec()) {
        return fail(engineText(remove.lastError()));
    }
    if (remove.numRowsAffected() != 1) {
        return fail(
            QStringLiteral("Строка %1 не найдена в таблице %2").arg(rowid).arg(m_schema.fileName));
    }
    return true;
}

bool DatabaseTable::execChange(QSqlQuery &query)
{
    if (!query.exec()) {
        return fail(changeErrorText(query.lastError()));
    }
    return true;
}

bool DatabaseTable::readAll(QList<TableRow> *rows)
{
    rows->clear();
    if (!requireOpen()) {
        return false;
    }
    QStringList order;
    for (const QString &name : m_schema.primaryKey) {
        order.append(QuotedIdentifier(name));
    }
    order.append(QStringLiteral("rowid"));
    QSqlQuery all(QSqlDatabase::database(m_connection, false));
    all.setForwardOnly(true);
    if (!all.exec(QStringLiteral("SELECT rowid, * FROM ") + QuotedIdentifier(m_schema.tableName)
            + QStringLiteral(" ORDER BY ") + order.join(u','))) {
        return fail(engineText(all.lastError()));
    }
    return collectRows(all, rows);
}

bool DatabaseTable::insert(const QVariantList &values, qint64 *rowid)
{
    QVariantList stored;
    if (!requireOpen() || !toStoredRow(values, &stored)) {
        return false;
    }
    QSqlQuery insert(QSqlDatabase::database(m_connection, false));
    prepareInsert(insert, stored);
    if (!execChange(insert)) {
        return false;
    }
    *rowid = insert.lastInsertId().toLongLong();
    return true;
}

bool DatabaseTable::update(qint64 rowid, const QVariantList &values)
{
    QVariantList stored;
    if (!requireOpen() || !toStoredRow(values, &stored)) {
        return false;
    }
    QStringList assignments;
    for (const FieldDef &field : m_schema.fields) {
        assignments.append(QuotedIdentifier(field.name) + QStringLiteral(" = ?"));
    }
    QSqlQuery update(QSqlDatabase::database(m_connection, false));
    update.prepare(QStringLiteral("UPDATE ") + QuotedIdentifier(m_schema.tableName)
        + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", "))
        + QStringLiteral(" WHERE rowid = ?"));
    for (const QVariant &value : std::as_const(stored)) {
        update.addBindValue(value);
    }
    update.addBindValue(rowid);
    if (!execChange(update)) {
        return false;
    }
    if (update.numRowsAffected() != 1) {
        return fail(
            QStringLiteral("Строка %1 не найдена в таблице %2").arg(rowid).arg(m_schema.fileName));
    }
    return true;
}

bool DatabaseTable::select(
    const QString &sql, const QVariantList &binds, QStringList *columns, QList<QVariantList> *rows)
{
    columns->clear();
    rows->clear();
    if (!requireOpen()) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        return fail(engineText(query.lastError()));
    }
    for (const QVariant &value : binds) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return fail(engineText(query.lastError()));
    }
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        columns->append(record.fieldName(i));
    }
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i) {
            row.append(query.value(i));
        }
        rows->append(std::move(row));
    }
    if (query.lastError().isValid()) {
        rows->clear();
        return fail(engineText(query.lastError()));
    }
    query.finish();
    return true;
}

bool DatabaseTable::deleteRows(const QList<qint64> &rowids)
{
    if (!requireOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        return fail(engineText(db.lastError()));
    }
    bool ok = true;
    {
        QSqlQuery remove(db);
        ok = remove.prepare(QStringLiteral("DELETE FROM ") + QuotedIdentifier(m_schema.tableName)
            + QStringLiteral(" WHERE rowid = ?"));
        for (qsizetype i = 0; ok && i < rowids.size(); ++i) {
            remove.addBindValue(rowids.at(i));
            ok = remove.exec();
        }
        if (!ok) {
            fail(engineText(remove.lastError()));
        }
    }
    if (ok && db.commit()) {
        return true;
    }
    if (ok) {
        fail(engineText(db.lastError()));
    }
    db.rollback();
    return false;
}
