#include "records/resultoutbox.h"

#include "records/databasetable.h"
#include "records/fieldvalues.h"
#include "records/serverpresence.h"
#include "records/tableeditmodel.h"
#include "records/tableschema.h"
#include "shared/clock.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <map>

namespace {

using Mode = DatabaseTable::OpenMode;

// The tables whose rows may wait here, and the fields that a row whose key the
// table has already updates (a set of factory numbers confirmed again).
struct OutboxTable
{
    const TableSchema *schema;
    QStringList updatedOnKey;
};

const OutboxTable *outboxTable(const QString &tableName)
{
    static const QList<OutboxTable> tables {
        { &Tests1Schema(), {} },
        { &Test23Schema(), {} },
        { &BlockNumSchema(),
            { QStringLiteral("LastD"), QStringLiteral("LastT"), QStringLiteral("Kind") } },
    };
    for (const OutboxTable &table : tables) {
        if (table.schema->tableName == tableName) {
            return &table;
        }
    }
    return nullptr;
}

QStringList updatedOnKey(const TableSchema &schema)
{
    const OutboxTable *table = outboxTable(schema.tableName);
    return table ? table->updatedOnKey : QStringList();
}

// The row as its table stores it, as the text the outbox keeps.
bool encodeRow(const TableSchema &schema, const QVariantList &values, QString *text, QString *error)
{
    if (values.size() != schema.fields.size()) {
        *error = QStringLiteral("Таблица %1: %2 значений вместо %3")
                     .arg(schema.fileName)
                     .arg(values.size())
                     .arg(schema.fields.size());
        return false;
    }
    QJsonArray row;
    for (int i = 0; i < values.size(); ++i) {
        QVariant stored;
        if (!ToStoredValue(schema.fields.at(i), values.at(i), &stored, error)) {
            return false;
        }
        row.append(QJsonValue::fromVariant(stored));
    }
    *text = QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact));
    return true;
}

QVariantList decodeRow(const TableSchema &schema, const QString &text)
{
    const QJsonArray row = QJsonDocument::fromJson(text.toUtf8()).array();
    QVariantList values;
    for (int i = 0; i < schema.fields.size(); ++i) {
        const QJsonValue value = row.at(i);
        values.append(TypedFieldValue(schema.fields.at(i),
            value.isDouble() ? QVariant(value.toInt()) : value.toVariant()));
    }
    return values;
}

} // namespace

ResultOutbox::ResultOutbox(DatabaseLocation database, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_database(std::move(database))
    , m_local(m_database.directory)
    , m_retry(clock.createTimer(this))
{
    connect(m_retry.get(), &ClockTimer::timeout, this, [this] { sendKept(); });
    if (m_database.onServer()) {
        m_presence = ServerPresence::of(m_database.server);
    }
    if (m_presence) {
        connect(m_presence, &ServerPresence::returned, this, [this] { sendKept(); });
    }
    // Rows kept by an earlier run go out with the first retry.
    if (m_database.onServer() && countKept() > 0) {
        m_retry->start(RetryIntervalMs);
    }
}

ResultOutbox::~ResultOutbox() = default;

QString ResultOutbox::keptText()
{
    return QStringLiteral("Результат сохранён на этом ПК и будет передан на сервер");
}

QString ResultOutbox::passedOnText(int rows)
{
    return QStringLiteral("Результаты, сохранённые на этом ПК, переданы на сервер: %1").arg(rows);
}

int ResultOutbox::countKept()
{
    m_kept = 0;
    if (!QFileInfo::exists(QDir(m_local.directory).filePath(OutboxSchema().fileName))) {
        return 0;
    }
    DatabaseTable box(m_local, OutboxSchema());
    if (box.open(Mode::ExistingOnly)) {
        m_kept = int(qMax<qint64>(0, box.rowCount()));
    }
    return m_kept;
}

ResultOutbox::Delivery ResultOutbox::deliver(const TableSchema &schema, const QVariantList &values)
{
    m_error.clear();
    const QString receipt = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // Kept rows first: while any is left, the new one queues behind it.
    if (!m_database.onServer() || sendKept()) {
        DatabaseTable table(m_database, schema);
        bool alreadyThere = false;
        if (table.open(Mode::OpenOrCreate)
            && table.appendOnce(values, receipt, &alreadyThere, updatedOnKey(schema))) {
            return Delivery::Written;
        }
        if (!table.serverUnreachable()) {
            m_error = table.errorText();
            return Delivery::Failed;
        }
    }
    return keep(schema, values, receipt) ? Delivery::Kept : Delivery::Failed;
}

bool ResultOutbox::keep(const TableSchema &schema, const QVariantList &values)
{
    m_error.clear();
    return keep(schema, values, QUuid::createUuid().toString(QUuid::WithoutBraces));
}

bool ResultOutbox::keep(const TableSchema &schema, const QVariantList &values, const QString &receipt)
{
    QString row;
    if (!encodeRow(schema, values, &row, &m_error)) {
        return false;
    }
    DatabaseTable box(m_local, OutboxSchema());
    if (!box.open(Mode::OpenOrCreate) || !box.append({ receipt, schema.tableName, row })) {
        m_error = QStringLiteral("Нет связи с сервером, и результат не удается сохранить на этом "
                                 "ПК: %1")
                      .arg(box.errorText());
        return false;
    }
    ++m_kept;
    if (!m_retry->isActive()) {
        m_retry->start(RetryIntervalMs);
    }
    Q_EMIT notice(keptText());
    return true;
}

bool ResultOutbox::sendKept()
{
    if (m_kept == 0) {
        return true;
    }
    if (m_presence && m_presence->isAway()) {
        return false;
    }
    DatabaseTable box(m_local, OutboxSchema());
    QList<TableRow> kept;
    if (!box.open(Mode::ExistingOnly) || !box.readAll(&kept)) {
        return false;
    }
    std::map<QString, std::unique_ptr<DatabaseTable>> tables;
    int sent = 0;
    QString refusal;
    for (const TableRow &row : std::as_const(kept)) {
        const QString receipt = row.values.at(0).toString();
        const QString tableName = row.values.at(1).toString();
        const OutboxTable *known = outboxTable(tableName);
        if (!known) {
            refusal = QStringLiteral("в сохранённой записи неизвестная таблица %1").arg(tableName);
            break;
        }
        const TableSchema *schema = known->schema;
        auto &table = tables[tableName];
        if (!table) {
            table = std::make_unique<DatabaseTable>(m_database, *schema);
        }
        bool alreadyThere = false;
        if (!(table->isOpen() || table->open(Mode::OpenOrCreate))
            || !table->appendOnce(decodeRow(*schema, row.values.at(2).toString()), receipt,
                &alreadyThere, known->updatedOnKey)) {
            if (!table->serverUnreachable()) {
                refusal = table->errorText();
            }
            break;
        }
        // Deleted only now that the server holds the row; a stop before this line
        // sends it again, and its receipt keeps it from being written twice.
        if (!box.deleteRow(row.rowid)) {
            refusal = box.errorText();
            break;
        }
        ++sent;
    }
    m_kept = int(kept.size()) - sent;
    if (sent > 0) {
        Q_EMIT notice(passedOnText(sent));
    }
    if (!refusal.isEmpty() && refusal != m_lastRefusal) {
        Q_EMIT notice(
            QStringLiteral("Результаты, сохранённые на этом ПК, не переданы на сервер: ") + refusal);
    }
    m_lastRefusal = refusal;
    if (m_kept == 0) {
        m_retry->stop();
    }
    return m_kept == 0;
}
