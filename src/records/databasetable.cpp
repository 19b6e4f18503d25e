#include "records/databasetable.h"

#include "records/fieldvalues.h"
#include "records/serverpresence.h"

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
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

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

// What was being done with a table file when the engine failed.
QString reading(const QString &file)
{
    return QStringLiteral("Ошибка при чтении таблицы %1").arg(file);
}

QString writing(const QString &file)
{
    return QStringLiteral("Ошибка при записи в таблицу %1").arg(file);
}

QString deleting(const QString &file)
{
    return QStringLiteral("Ошибка при удалении из таблицы %1").arg(file);
}

// The refusals an operator can cause by typing: SQLite's extended result codes, and
// PostgreSQL's SQLSTATEs.
constexpr auto UniqueViolation = QLatin1StringView("2067");
constexpr auto KeyViolation = QLatin1StringView("1555");
constexpr auto NotNullViolation = QLatin1StringView("1299");
constexpr auto ServerUniqueViolation = QLatin1StringView("23505");
constexpr auto ServerNotNullViolation = QLatin1StringView("23502");

// The server did not answer, or the connection to it broke: no SQLSTATE at all
// (the client library's own failure), a connection exception (class 08), or the
// server going down (57P01..57P03). Anything else is the server's refusal.
bool serverAway(const ServerAddress &server)
{
    const ServerPresence *presence = ServerPresence::of(server);
    return presence && presence->isAway();
}

bool connectionLost(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return error.type() == QSqlError::ConnectionError || code.isEmpty()
        || code.startsWith(QLatin1StringView("08")) || code.startsWith(QLatin1StringView("57P"));
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

// Whether this process may write the path, as the kernel decides for its effective
// rights (a read-only mount, a directory of another user, missing permissions).
bool mayWrite(const QString &path)
{
    return faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

// The URI that opens an existing file for reading only. Without its write-ahead log
// beside it the file is read as it stands, taking no locks and making no files, so
// that a directory nobody may write can still be read.
QString readOnlyUri(const QString &path)
{
    const bool withLog = QFileInfo::exists(path + QStringLiteral("-wal"));
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
        + (withLog ? QStringLiteral("?mode=ro") : QStringLiteral("?immutable=1"));
}

enum class TableState { Absent, Matches, Different, HoldsTriggers, Unreadable };

// What the database holds: nothing at all, the table as defined, or something else.
// A file with triggers is never used: the engine would run the commands stored in it
// at our next change (for HoldsTriggers, error names them).
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
    QStringList triggers;
    while (objects.next()) {
        anything = true;
        if (objects.value(0).toString() == QLatin1String("trigger")) {
            triggers.append(objects.value(1).toString());
        }
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
    if (!triggers.isEmpty()) {
        *error = triggers.join(QStringLiteral(", "));
        return TableState::HoldsTriggers;
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

// The server's columns of the table in order, with their types as the server names
// them, and its primary key, against what the table is made with.
TableState inspectServer(QSqlDatabase &db, const TableSchema &schema, QSqlError *error)
{
    QSqlQuery columns(db);
    columns.prepare(QStringLiteral(
        "SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attidentity, a.attnotnull "
        "FROM pg_attribute a WHERE a.attrelid = to_regclass(?) AND a.attnum > 0 "
        "AND NOT a.attisdropped ORDER BY a.attnum"));
    columns.addBindValue(QuotedIdentifier(schema.tableName));
    if (!columns.exec()) {
        *error = columns.lastError();
        return TableState::Unreadable;
    }
    QStringList found;
    while (columns.next()) {
        found.append(columns.value(0).toString() + u' ' + columns.value(1).toString() + u' '
            + columns.value(2).toString() + (columns.value(3).toBool() ? u'!' : u' '));
    }
    columns.finish();
    if (found.isEmpty()) {
        return TableState::Absent;
    }
    QStringList expected;
    for (const FieldDef &field : schema.fields) {
        expected.append(field.name + u' ' + ServerColumnType(field) + u' '
            + (field.required || schema.primaryKey.contains(field.name) ? u'!' : u' '));
    }
    expected.append(ServerRowIdColumn() + QStringLiteral(" bigint a!"));
    if (found != expected) {
        return TableState::Different;
    }

    QSqlQuery key(db);
    key.prepare(QStringLiteral(
        "SELECT a.attname FROM pg_constraint c "
        "CROSS JOIN LATERAL unnest(c.conkey) WITH ORDINALITY AS k(attnum, n) "
        "JOIN pg_attribute a ON a.attrelid = c.conrelid AND a.attnum = k.attnum "
        "WHERE c.conrelid = to_regclass(?) AND c.contype = 'p' ORDER BY k.n"));
    key.addBindValue(QuotedIdentifier(schema.tableName));
    if (!key.exec()) {
        *error = key.lastError();
        return TableState::Unreadable;
    }
    QStringList keyColumns;
    while (key.next()) {
        keyColumns.append(key.value(0).toString());
    }
    key.finish();
    const QStringList expectedKey
        = schema.primaryKey.isEmpty() ? QStringList { ServerRowIdColumn() } : schema.primaryKey;
    return keyColumns == expectedKey ? TableState::Matches : TableState::Different;
}

// Dates and times as the server gives them, back to the text forms SQLite keeps.
QVariant storedForm(const QVariant &value)
{
    if (value.isNull()) {
        return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QTime
            ? QVariant()
            : value;
    }
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QLatin1StringView(StoredDateFormat));
    case QMetaType::QTime:
        return value.toTime().toString(QLatin1StringView(StoredTimeFormat));
    default:
        return value;
    }
}

int nextConnectionNumber()
{
    static QAtomicInteger<int> counter;
    return ++counter;
}

} // namespace

DatabaseTable::DatabaseTable(DatabaseLocation location, const TableSchema &schema)
    : m_location(std::move(location))
    , m_schema(schema)
{ }

DatabaseTable::~DatabaseTable()
{
    close();
}

QString DatabaseTable::filePath() const
{
    if (m_location.onServer()) {
        return QStringLiteral("%1 (база %2 на сервере %3)")
            .arg(m_schema.tableName, m_location.server.database,
                m_location.server.host.isEmpty() ? QStringLiteral("localhost")
                                                 : m_location.server.host);
    }
    return QDir(m_location.directory).absoluteFilePath(m_schema.fileName);
}

QString DatabaseTable::driverName() const
{
    return isOpen() ? QSqlDatabase::database(m_connection, false).driverName() : QString();
}

bool DatabaseTable::fail(const QString &text)
{
    m_error = text;
    m_unreachable = false;
    return false;
}

bool DatabaseTable::failEngine(const QString &doing, const QSqlError &error)
{
    fail(doing + QStringLiteral(": ") + engineText(error));
    if (m_location.onServer() && connectionLost(error)) {
        m_unreachable = true;
        m_connectionLost = true;
    }
    return false;
}

bool DatabaseTable::requireOpen()
{
    if (!isOpen()) {
        return fail(QStringLiteral("Таблица %1 не открыта").arg(m_schema.fileName));
    }
    if (!m_connectionLost && m_location.onServer() && serverAway(m_location.server)) {
        // A statement on this connection could wait for a host that drops every
        // packet; the connection is made anew once the server is back.
        m_connectionLost = true;
    }
    if (!m_connectionLost) {
        return true;
    }
    if (m_inTransaction) {
        // The server dropped what the transaction had done; a new connection must
        // not go on as if it were still there.
        fail(QStringLiteral("Связь с сервером прервана: изменения таблицы %1 не сохранены")
                .arg(m_schema.fileName));
        m_unreachable = true;
        return false;
    }
    // A server restarted meanwhile: the same connection is opened again, and the
    // statements prepared on the old one are dropped.
    m_append.reset();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.close();
    m_connectionLost = !connectToServer(db);
    return !m_connectionLost;
}

bool DatabaseTable::open(OpenMode mode)
{
    close();
    m_error.clear();
    const QString path = filePath();
    const QFileInfo info(path);
    if (m_location.onServer()) {
        // A server has no file to look at; its table is looked at once connected.
    } else if (!info.exists()) {
        if (mode == OpenMode::ExistingOnly) {
            return fail(QStringLiteral("Таблица %1 не найдена").arg(path));
        }
    } else if (!info.isFile()) {
        return fail(QStringLiteral("%1 не является файлом").arg(path));
    } else if (!openFiles().contains(path) && !hasDatabaseHeader(path, &m_error)) {
        return false;
    }
    // Tables that exist are the user's data: where they cannot be written they are
    // still read.
    m_readOnly = !m_location.onServer() && info.exists() && !(mayWrite(path) && mayWrite(m_location.directory));
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
    if (m_location.onServer()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const ServerAddress &server = m_location.server;
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(ServerConnectTimeoutS));
        if (connectToServer(db)) {
            m_connection = name;
            return true;
        }
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (m_readOnly) {
            db.setDatabaseName(readOnlyUri(filePath()));
            options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        } else {
            db.setDatabaseName(filePath());
        }
        db.setConnectOptions(options);
        if (db.open()) {
            m_connection = name;
            ++openFiles()[filePath()];
            // Functions with side effects stay out of anything the file defines.
            QSqlQuery(QStringLiteral("PRAGMA trusted_schema=OFF"), db).finish();
            return true;
        }
        failEngine(QStringLiteral("Не удается открыть таблицу %1").arg(filePath()), db.lastError());
    }
    QSqlDatabase::removeDatabase(name);
    return false;
}

bool DatabaseTable::connectToServer(QSqlDatabase &db)
{
    m_receiptsReady = false;
    ServerPresence *presence = ServerPresence::of(m_location.server);
    if (presence && presence->isAway()) {
        // Connecting would hold the window for up to ServerConnectTimeoutS.
        fail(QStringLiteral("Нет связи с сервером базы данных: сервер не отвечает"));
        m_unreachable = true;
        return false;
    }
    if (!db.open()) {
        fail(QStringLiteral("Нет связи с сервером базы данных: %1").arg(engineText(db.lastError())));
        m_unreachable = true;
        if (presence) {
            presence->markAway();
        }
        return false;
    }
    // Lock waits end as on SQLite; dates read in the stored form; the server's
    // notices (a table that is there already) stay off the program's output.
    QSqlQuery settings(db);
    if (settings.exec(QStringLiteral("SET lock_timeout = %1").arg(BusyTimeoutMs))
        && settings.exec(QStringLiteral("SET DateStyle = ISO"))
        && settings.exec(QStringLiteral("SET client_min_messages = warning"))) {
        return true;
    }
    failEngine(QStringLiteral("Не удается настроить соединение для таблицы %1").arg(filePath()),
        settings.lastError());
    db.close();
    return false;
}

bool DatabaseTable::prepareTable(OpenMode mode)
{
    if (m_location.onServer()) {
        return prepareServerTable(mode);
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    switch (inspect(db, m_schema, &m_error)) {
    case TableState::Unreadable:
        return fail(QStringLiteral("Не удается прочитать структуру таблицы %1: %2")
                        .arg(filePath(), m_error));
    case TableState::Different:
        return fail(QStringLiteral("В файле %1 нет таблицы %2 нужной структуры")
                        .arg(filePath(), m_schema.tableName));
    case TableState::HoldsTriggers:
        return fail(QStringLiteral("В файле %1 записаны триггеры (%2): программа не работает с "
                                   "таблицей, которая выполняет записанные в ней команды")
                        .arg(filePath(), m_error));
    case TableState::Matches:
        return setDurability();
    case TableState::Absent:
        break;
    }
    if (mode == OpenMode::ExistingOnly) {
        return fail(QStringLiteral("Таблица %1 не найдена").arg(filePath()));
    }
    // A damaged file may read as holding nothing at all: never write into it.
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
        || check.value(0).toString() != QLatin1String("ok")) {
        return fail(QStringLiteral("Файл %1 поврежден: таблицу %2 нельзя создать в нем")
                        .arg(filePath(), m_schema.tableName));
    }
    check.finish();
    if (!requireWritable() || !setDurability()) {
        return false;
    }
    QSqlQuery create(db);
    if (!create.exec(CreateTableStatement(m_schema))) {
        return failEngine(
            QStringLiteral("Не удается создать таблицу %1").arg(filePath()), create.lastError());
    }
    shareWithGroup();
    return true;
}

bool DatabaseTable::prepareServerTable(OpenMode mode)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // Two stations may make the table at the same moment; the one that loses sees
    // the other's table on its second look.
    for (int look = 0; look < 2; ++look) {
        QSqlError error;
        switch (inspectServer(db, m_schema, &error)) {
        case TableState::Unreadable:
            // Also when the server goes down at this moment: the result then waits
            // in the outbox like any other written while the server is away.
            return failEngine(
                QStringLiteral("Не удается прочитать структуру таблицы %1").arg(filePath()), error);
        case TableState::Different:
        case TableState::HoldsTriggers:
            return fail(QStringLiteral("Таблица %1 имеет другую структуру").arg(filePath()));
        case TableState::Matches:
            return true;
        case TableState::Absent:
            break;
        }
        if (mode == OpenMode::ExistingOnly) {
            return fail(QStringLiteral("Таблица %1 не найдена").arg(filePath()));
        }
        QSqlQuery create(db);
        if (create.exec(CreateServerTableStatement(m_schema))) {
            return true;
        }
        failEngine(QStringLiteral("Не удается создать таблицу %1").arg(filePath()),
            create.lastError());
    }
    return false;
}

// Before a change on a server: a connection that the server dropped while it stood
// idle (a restart) is found by a read and opened anew, so that the change goes
// through at the first call. Within a transaction nothing is opened anew.
bool DatabaseTable::requireLiveConnection()
{
    if (!requireOpen()) {
        return false;
    }
    if (!m_location.onServer() || m_inTransaction) {
        return true;
    }
    return readAgainIfLost([this] {
        if (!requireOpen()) {
            return false;
        }
        QSqlQuery probe(QSqlDatabase::database(m_connection, false));
        return probe.exec(QStringLiteral("SELECT 1"))
            || failEngine(writing(m_schema.fileName), probe.lastError());
    });
}

bool DatabaseTable::requireWritable()
{
    return !m_readOnly
        || fail(QStringLiteral("Таблица %1 открыта только для чтения: нет права записи в файл "
                               "или в папку %2")
                    .arg(m_schema.fileName, QDir::toNativeSeparators(m_location.directory)));
}

// In a directory shared by a group (the machine's tables) a new table is the
// group's to write, and so are the journal files, which the engine creates with the
// table file's permissions.
void DatabaseTable::shareWithGroup()
{
    if (!(QFileInfo(m_location.directory).permissions() & QFileDevice::WriteGroup)) {
        return;
    }
    for (const QString &suffix : { QString(), QStringLiteral("-wal"), QStringLiteral("-shm") }) {
        QFile file(filePath() + suffix);
        if (file.exists()) {
            file.setPermissions(
                file.permissions() | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
        }
    }
}

bool DatabaseTable::setDurability()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery pragma(db);
    // The journal mode persists in the file; if another connection holds a lock
    // right now the file keeps its journal, which is as crash-safe, only slower.
    if (!m_readOnly && pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        pragma.finish();
    }
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        return failEngine(
            QStringLiteral("Не удается настроить запись в таблицу %1").arg(filePath()),
            pragma.lastError());
    }
    return true;
}

bool DatabaseTable::close()
{
    if (m_connection.isEmpty()) {
        return true;
    }
    bool closed = true;
    m_append.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        const QSqlError before = db.lastError();
        db.close();
        const QSqlError after = db.lastError();
        if (after.isValid() && after.text() != before.text()) {
            closed = failEngine(
                QStringLiteral("Ошибка при закрытии таблицы %1").arg(m_schema.fileName), after);
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
    m_connectionLost = false;
    m_inTransaction = false;
    auto &files = openFiles();
    const auto it = m_location.onServer() ? files.end() : files.find(filePath());
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

// The insertion of one row, its values bound in field order.
QString DatabaseTable::insertStatement() const
{
    const QStringList placeholders(m_schema.fields.size(), QStringLiteral("?"));
    QStringList names;
    for (const FieldDef &field : m_schema.fields) {
        names.append(QuotedIdentifier(field.name));
    }
    return QStringLiteral("INSERT INTO ") + QuotedIdentifier(m_schema.tableName) + u'('
        + names.join(u',') + QStringLiteral(") VALUES (") + placeholders.join(u',')
        + (m_location.onServer() ? QStringLiteral(") RETURNING rowid") : QStringLiteral(")"));
}

// Prepares the insertion of one row of stored values; with updatedOnKey, a row of
// the same key has those fields updated instead.
void DatabaseTable::prepareInsert(
    QSqlQuery &query, const QVariantList &stored, const QStringList &updatedOnKey) const
{
    QString statement = insertStatement();
    if (!updatedOnKey.isEmpty()) {
        QStringList key;
        for (const QString &name : m_schema.primaryKey) {
            key.append(QuotedIdentifier(name));
        }
        QStringList assignments;
        for (const QString &name : updatedOnKey) {
            assignments.append(
                QuotedIdentifier(name) + QStringLiteral(" = EXCLUDED.") + QuotedIdentifier(name));
        }
        const QString conflict = QStringLiteral(" ON CONFLICT (") + key.join(u',')
            + QStringLiteral(") DO UPDATE SET ") + assignments.join(QStringLiteral(", "));
        const qsizetype returning = statement.indexOf(QStringLiteral(" RETURNING"));
        statement.insert(returning < 0 ? statement.size() : returning, conflict);
    }
    query.prepare(statement);
    for (const QVariant &value : stored) {
        query.addBindValue(value);
    }
}

QSqlQuery &DatabaseTable::appendStatement()
{
    if (!m_append) {
        m_append = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection, false));
        m_append->prepare(insertStatement());
    }
    return *m_append;
}

bool DatabaseTable::append(const QVariantList &values)
{
    if (!requireLiveConnection() || !requireWritable()) {
        return false;
    }
    QVariantList stored;
    if (!toStoredRow(values, &stored)) {
        return false;
    }
    QSqlQuery &insert = appendStatement();
    for (int i = 0; i < stored.size(); ++i) {
        insert.bindValue(i, stored.at(i));
    }
    const bool done = insert.exec();
    if (!done) {
        failEngine(writing(m_schema.fileName), insert.lastError());
    }
    insert.finish();
    return done;
}

// The server's note of every row written with a receipt. It lives beside the tables
// rather than as a column of each, so that a row deleted in the office stays
// deleted when a late copy of it arrives.
bool DatabaseTable::prepareReceipts()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // Two stations may make it at the same moment; the second look finds it.
    for (int look = 0; look < 2 && !m_receiptsReady; ++look) {
        QSqlQuery create(db);
        m_receiptsReady = create.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS \"Receipts\" (\"Id\" uuid PRIMARY KEY, "
            "\"TableName\" varchar(16) NOT NULL, "
            "\"Received\" timestamp(3) NOT NULL DEFAULT localtimestamp)"));
        if (!m_receiptsReady) {
            failEngine(writing(m_schema.fileName), create.lastError());
            if (m_unreachable) {
                return false;
            }
        }
    }
    return m_receiptsReady;
}

bool DatabaseTable::appendOnce(const QVariantList &values, const QString &receipt,
    bool *alreadyThere, const QStringList &updatedOnKey)
{
    *alreadyThere = false;
    if (!m_location.onServer()) {
        return append(values);
    }
    QVariantList stored;
    if (!requireLiveConnection() || !requireWritable() || !toStoredRow(values, &stored)
        || (!m_receiptsReady && !prepareReceipts())) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        return failEngine(writing(m_schema.fileName), db.lastError());
    }
    bool ok = false;
    {
        QSqlQuery note(db);
        note.prepare(QStringLiteral("INSERT INTO \"Receipts\" (\"Id\", \"TableName\") "
                                    "VALUES (CAST(? AS uuid), ?) ON CONFLICT DO NOTHING"));
        note.addBindValue(receipt);
        note.addBindValue(m_schema.tableName);
        ok = note.exec() || failEngine(writing(m_schema.fileName), note.lastError());
        *alreadyThere = ok && note.numRowsAffected() == 0;
        if (ok && !*alreadyThere) {
            QSqlQuery insert(db);
            prepareInsert(insert, stored, updatedOnKey);
            ok = execChange(insert);
        }
    }
    if (ok && db.commit()) {
        return true;
    }
    if (ok) {
        // The commit's answer was lost: the row may be there or not; its receipt
        // tells when it is sent again.
        failEngine(writing(m_schema.fileName), db.lastError());
    }
    *alreadyThere = false;
    db.rollback();
    return false;
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

qint64 DatabaseTable::countRows(const RowFilter &filter)
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
        failEngine(QStringLiteral("Ошибка при подсчете строк таблицы %1").arg(m_schema.fileName),
            count.lastError());
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
            row.values.append(
                CutStoredValue(m_schema.fields.at(i - 1), storedForm(query.value(i))));
        }
        rows->append(std::move(row));
    }
    if (query.lastError().isValid()) {
        rows->clear();
        return failEngine(reading(m_schema.fileName), query.lastError());
    }
    query.finish();
    return true;
}

bool DatabaseTable::readPageOnce(
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
        return failEngine(reading(m_schema.fileName), page.lastError());
    }
    return collectRows(page, rows);
}

bool DatabaseTable::deleteRow(qint64 rowid)
{
    if (!requireLiveConnection() || !requireWritable()) {
        return false;
    }
    QSqlQuery remove(QSqlDatabase::database(m_connection, false));
    remove.prepare(QStringLiteral("DELETE FROM ") + QuotedIdentifier(m_schema.tableName)
        + QStringLiteral(" WHERE rowid = ?"));
    remove.addBindValue(rowid);
    if (!remove.exec()) {
        return failEngine(deleting(m_schema.fileName), remove.lastError());
    }
    if (remove.numRowsAffected() != 1) {
        return fail(
            QStringLiteral("Строка %1 не найдена в таблице %2").arg(rowid).arg(m_schema.fileName));
    }
    return true;
}

bool DatabaseTable::execChange(QSqlQuery &query)
{
    m_keyViolation = false;
    if (query.exec()) {
        return true;
    }
    const QSqlError error = query.lastError();
    const QString code = error.nativeErrorCode();
    if (code == KeyViolation || code == UniqueViolation || code == ServerUniqueViolation) {
        // The engine's text names the key in its own words; the caller knows the
        // fields as the operator does.
        m_keyViolation = true;
        return fail(QStringLiteral("Запись не сохранена: в таблице %1 уже есть запись с таким ключом")
                        .arg(m_schema.fileName));
    }
    if (code == NotNullViolation || code == ServerNotNullViolation) {
        return failEngine(
            QStringLiteral("Запись не сохранена в таблице %1: не заполнено обязательное поле")
                .arg(m_schema.fileName),
            error);
    }
    return failEngine(writing(m_schema.fileName), error);
}

bool DatabaseTable::readAllOnce(QList<TableRow> *rows)
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
        return failEngine(reading(m_schema.fileName), all.lastError());
    }
    return collectRows(all, rows);
}

bool DatabaseTable::insert(const QVariantList &values, qint64 *rowid)
{
    QVariantList stored;
    if (!requireLiveConnection() || !requireWritable() || !toStoredRow(values, &stored)) {
        return false;
    }
    QSqlQuery insert(QSqlDatabase::database(m_connection, false));
    prepareInsert(insert, stored);
    if (!execChange(insert)) {
        return false;
    }
    *rowid = m_location.onServer() && insert.next() ? insert.value(0).toLongLong()
                                                    : insert.lastInsertId().toLongLong();
    return true;
}

bool DatabaseTable::update(qint64 rowid, const QVariantList &values)
{
    QVariantList stored;
    if (!requireLiveConnection() || !requireWritable() || !toStoredRow(values, &stored)) {
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

QString DatabaseTable::rowIdColumn() const
{
    return QStringLiteral("rowid");
}

QString DatabaseTable::rowColumns() const
{
    QStringList columns { rowIdColumn() };
    for (const FieldDef &field : m_schema.fields) {
        columns.append(QuotedIdentifier(field.name));
    }
    return columns.join(u',');
}

bool DatabaseTable::readConsistently(const std::function<bool()> &reads)
{
    return readAgainIfLost([&] { return readConsistentlyOnce(reads); });
}

bool DatabaseTable::readConsistentlyOnce(const std::function<bool()> &reads)
{
    if (!requireOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        return failEngine(reading(m_schema.fileName), db.lastError());
    }
    if (m_location.onServer()) {
        QSqlQuery isolation(db);
        if (!isolation.exec(QStringLiteral(
                "SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
            failEngine(reading(m_schema.fileName), isolation.lastError());
            db.rollback();
            return false;
        }
    }
    m_inTransaction = true;
    const bool ok = reads();
    m_inTransaction = false;
    // A read transaction has nothing to keep: ending it only lets the file go.
    db.rollback();
    return ok;
}

bool DatabaseTable::selectOnce(
    const QString &sql, const QVariantList &binds, QStringList *columns, QList<QVariantList> *rows)
{
    columns->clear();
    rows->clear();
    if (!requireOpen()) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    const QString querying = QStringLiteral("Ошибка при выборке из таблицы %1").arg(m_schema.fileName);
    if (!query.prepare(sql)) {
        return failEngine(querying, query.lastError());
    }
    for (const QVariant &value : binds) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return failEngine(querying, query.lastError());
    }
    const QSqlRecord record = query.record();
    QList<const FieldDef *> fields; // the field each column reads, if any
    for (int i = 0; i < record.count(); ++i) {
        columns->append(record.fieldName(i));
        const int field = m_schema.fieldIndex(record.fieldName(i));
        fields.append(field < 0 ? nullptr : &m_schema.fields.at(field));
    }
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i) {
            const QVariant value = storedForm(query.value(i));
            row.append(fields.at(i) ? CutStoredValue(*fields.at(i), value) : value);
        }
        rows->append(std::move(row));
    }
    if (query.lastError().isValid()) {
        rows->clear();
        return failEngine(querying, query.lastError());
    }
    query.finish();
    return true;
}

bool DatabaseTable::beginTransaction()
{
    if (!requireOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        return failEngine(writing(m_schema.fileName), db.lastError());
    }
    m_inTransaction = true;
    return true;
}

bool DatabaseTable::commit()
{
    // Fails when the server dropped the transaction's connection.
    const bool open = requireOpen();
    m_inTransaction = false;
    if (!open) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    return db.commit() || failEngine(writing(m_schema.fileName), db.lastError());
}

void DatabaseTable::rollback()
{
    m_inTransaction = false;
    if (isOpen() && !m_connectionLost) {
        QSqlDatabase::database(m_connection, false).rollback();
    }
}

bool DatabaseTable::deleteRows(const QList<qint64> &rowids)
{
    if (!requireLiveConnection() || !requireWritable()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        return failEngine(deleting(m_schema.fileName), db.lastError());
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
            failEngine(deleting(m_schema.fileName), remove.lastError());
        }
    }
    if (ok && db.commit()) {
        return true;
    }
    if (ok) {
        failEngine(deleting(m_schema.fileName), db.lastError());
    }
    db.rollback();
    return false;
}

bool DatabaseTable::readAgainIfLost(const std::function<bool()> &read)
{
    // Inside readConsistently a read on a new connection would leave its snapshot.
    return read() || (m_connectionLost && !m_inTransaction && read());
}

qint64 DatabaseTable::rowCount(const RowFilter &filter)
{
    qint64 rows = -1;
    readAgainIfLost([&] {
        rows = countRows(filter);
        return rows >= 0;
    });
    return rows;
}

bool DatabaseTable::readPage(
    const RowFilter &filter, qint64 afterRowid, int limit, QList<TableRow> *rows)
{
    return readAgainIfLost([&] { return readPageOnce(filter, afterRowid, limit, rows); });
}

bool DatabaseTable::readAll(QList<TableRow> *rows)
{
    return readAgainIfLost([&] { return readAllOnce(rows); });
}

bool DatabaseTable::select(
    const QString &sql, const QVariantList &binds, QStringList *columns, QList<QVariantList> *rows)
{
    return readAgainIfLost([&] { return selectOnce(sql, binds, columns, rows); });
}

QString OpenFailureText(const DatabaseTable &table)
{
    const QFileInfo file(table.filePath());
    // The table's own text may say the same with the whole path: then only the
    // engine's words follow; any other text goes on the sentence after its colon.
    QString detail = table.errorText();
    const QString same = QStringLiteral("Не удается открыть таблицу %1: ").arg(table.filePath());
    if (detail.startsWith(same)) {
        detail.remove(0, same.size());
    } else if (!detail.isEmpty()) {
        detail[0] = detail.at(0).toLower();
    }
    return QStringLiteral("Не удается открыть таблицу %1 в папке %2: %3")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()), detail);
}
