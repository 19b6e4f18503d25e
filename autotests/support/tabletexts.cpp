#include "tabletexts.h"

#include "records/databasetable.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

bool ExecOnTableFile(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("foreign-client");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            if (ok && !query.exec(sql)) {
                qWarning() << sql.left(80) << query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool SpoilTable(const QString &directory, const TableSchema &schema, const QString &how)
{
    const QString path = QDir(directory).filePath(schema.fileName);
    if (how == QStringLiteral("unopenable")) {
        QFile::remove(path);
        return QFile::link(QDir(directory).filePath(QStringLiteral("missing/table")), path);
    }
    {
        DatabaseTable table(directory, schema);
        if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
            return false;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 4096 || !file.seek(100)) {
        return false;
    }
    return file.write(QByteArray(4096 - 100, char(0x5A))) == 4096 - 100;
}
