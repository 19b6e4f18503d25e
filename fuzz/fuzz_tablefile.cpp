// Arbitrary bytes as a table file: the first byte picks one of the four tables, the
// rest is the file. The table check must refuse what is foreign or damaged without
// changing a byte of it; what it accepts must be readable without a crash.
#include "fuzzinvariant.h"

#include "records/databasetable.h"
#include "records/tableschema.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ReadEverything(DatabaseTable &table)
{
    QList<TableRow> rows;
    table.readAll(&rows);
    FUZZ_CHECK(table.rowCount() >= -1);
    table.readPage({}, 0, 16, &rows);
    if (table.schema().fieldIndex(QStringLiteral("Date")) >= 0) {
        table.rowCount(RowFilter { QDate(2000, 1, 1), QDate(2030, 12, 31) });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_tablefile";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
    static QTemporaryDir directory;

    if (size < 1) {
        return 0;
    }
    const TableSchema *schemas[]
        = { &Tests1Schema(), &Test23Schema(), &RvSchema(), &BlockNumSchema() };
    const TableSchema &schema = *schemas[data[0] % 4];
    const QByteArray content(reinterpret_cast<const char *>(data + 1),
        static_cast<qsizetype>(size - 1));

    const QString path = directory.filePath(schema.fileName);
    for (const QString &companion : { path, path + QStringLiteral("-wal"),
             path + QStringLiteral("-shm"), path + QStringLiteral("-journal") }) {
        QFile::remove(companion);
    }
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    DatabaseTable table(directory.path(), schema);
    if (table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
        ReadEverything(table);
        table.close();
    } else {
        FUZZ_CHECK(!content.isEmpty());
        FUZZ_CHECK(FileBytes(path) == content);
    }
    return 0;
}
