#include "tabletexts.h"

#include "records/databasetable.h"

#include <QDebug>

QList<QStringList> TableTexts(const QString &directory, const TableSchema &schema)
{
    DatabaseTable table(directory, schema);
    QList<QStringList> result;
    QList<TableRow> page;
    if (!table.open(DatabaseTable::OpenMode::ExistingOnly) || !table.readPage({}, 0, 1000, &page)) {
        qWarning() << table.errorText();
        return result;
    }
    for (const TableRow &row : page) {
        QStringList values;
        for (const QVariant &value : row.values) {
            values.append(value.toString());
        }
        result.append(values);
    }
    return result;
}
