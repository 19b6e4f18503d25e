#include "records/rvregister.h"

#include "records/fieldvalues.h"
#include "shared/codecs.h"

namespace {

constexpr int LocoNumberLength = 7;

QList<TableEditModel::Column> rvColumns()
{
    const Qt::Alignment centred = Qt::AlignCenter;
    return {
        { QStringLiteral("Lokomotiv"), QStringLiteral(" Локомотив "), centred, {} },
        { QStringLiteral("OslablenieM"), QStringLiteral("Коррекция ослабления МВ"), centred, {} },
        { QStringLiteral("OslablenieG"), QStringLiteral("Коррекция ослабления ГМВ"), centred, {} },
    };
}

} // namespace

QString PadLocoNumber(const QString &number)
{
    // An empty number stays empty, so that saving refuses it.
    return number.isEmpty() ? number : PadWithZeros(number, LocoNumberLength);
}

RvRegister::RvRegister(const DatabaseLocation &database)
    : m_table(database, RvSchema())
    , m_model(m_table, rvColumns())
{
    const int loco = RvSchema().fieldIndex(QStringLiteral("Lokomotiv"));
    m_model.setBeforePost(
        [loco](QVariantList &values) { values[loco] = PadLocoNumber(values.at(loco).toString()); });
}

bool RvRegister::open()
{
    const bool opened = m_table.open(DatabaseTable::OpenMode::OpenOrCreate);
    // Without a table the grid shows an empty register.
    const bool loaded = m_model.reload();
    return opened && loaded;
}

bool RvRegister::close()
{
    const bool closed = m_table.close();
    m_model.reload();
    return closed;
}

AttenuationLookup::Result RvRegister::find(const QString &locoNumber)
{
    return FindCorrections(m_table, locoNumber);
}

AttenuationLookup::Result FindCorrections(DatabaseTable &table, const QString &locoNumber)
{
    using Outcome = AttenuationLookup::Outcome;
    if (!table.isOpen()) {
        return { Outcome::Unreadable, {} };
    }
    QStringList columns;
    QList<QVariantList> rows;
    const QString sql = QStringLiteral("SELECT \"OslablenieM\", \"OslablenieG\" FROM ")
        + QuotedIdentifier(table.schema().tableName) + QStringLiteral(" WHERE \"Lokomotiv\" = ?");
    if (!table.select(sql, { locoNumber }, &columns, &rows)) {
        return { Outcome::Unreadable, {} };
    }
    if (rows.isEmpty()) {
        return { Outcome::NotRegistered, {} };
    }
    return { Outcome::Found,
        { StoredInteger(rows.first().value(0)), StoredInteger(rows.first().value(1)) } };
}

QStringList RvRegister::reportFields()
{
    return { QStringLiteral("Lokomotiv"), QStringLiteral("OslablenieM"),
        QStringLiteral("OslablenieG") };
}

bool RvRegister::reportRows(QList<QStringList> *rows)
{
    rows->clear();
    QList<TableRow> stored;
    if (!m_table.readAll(&stored)) {
        return false;
    }
    for (const TableRow &row : std::as_const(stored)) {
        QStringList texts;
        for (const QVariant &value : row.values) {
            texts.append(value.isNull() ? QString() : value.toString());
        }
        rows->append(texts);
    }
    return true;
}
