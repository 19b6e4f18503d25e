// Kills a process that appends rows, at varying moments, and checks that the table
// it leaves behind is intact with every row whose commit was reported.
#include "records/databasetable.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const char ChildOption[] = "--append-rows";

QVariantList rowNumber(qint64 i)
{
    const QString n = QString::number(i);
    QVariantList row { QDate(2026, 1, 1).addDays(i % 365),
        QTime(0, 0).addMSecs(int(i * 7919 % 86400000)), "Тест 2", "От ТЕЛВ", n, "1234", n,
        i % 2 ? "Брак" : "Норма", n.rightJustified(7, u'0') };
    while (row.size() < Test23Schema().fields.size()) {
        row.append(QString::number(i % 100).rightJustified(2, u'0'));
    }
    return row;
}

// The child: appends numbered rows, after each commit it says which, until killed.
int appendRowsUntilKilled(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    DatabaseTable table(QString::fromLocal8Bit(argv[2]), Test23Schema());
    if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
        std::fprintf(stderr, "%s\n", qPrintable(table.errorText()));
        return 2;
    }
    for (qint64 i = table.rowCount() + 1;; ++i) {
        if (!table.append(rowNumber(i))) {
            std::fprintf(stderr, "%s\n", qPrintable(table.errorText()));
            return 3;
        }
        std::printf("%lld\n", static_cast<long long>(i));
        std::fflush(stdout);
    }
}

QString integrityOf(const QString &path)
{
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next()) {
                result = q.value(0).toString();
            }
        }
    }
    QSqlDatabase::removeDatabase("check");
    return result;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedWhileAppendingLosesNoCommittedRow_data()
    {
        QTest::addColumn<int>("killAfter");
        QTest::newRow("first row") << 1;
        QTest::newRow("a few rows") << 17;
        QTest::newRow("past a checkpoint") << 1100; // WAL checkpoints after 1000 pages
    }

    void killedWhileAppendingLosesNoCommittedRow()
    {
        QFETCH(int, killAfter);
        QTemporaryDir dir;
        qint64 reported = 0;
        // Twice into the same file: the second run starts on what the first left.
        for (int run = 0; run < 2; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                { QString::fromLatin1(ChildOption), dir.path() });
            QVERIFY(child.waitForStarted());
            QByteArray output;
            const qint64 target = reported + killAfter;
            while (reported < target) {
                QVERIFY2(child.waitForReadyRead(20000), child.readAllStandardError().constData());
                output += child.readAllStandardOutput();
                const qsizetype end = output.lastIndexOf('\n');
                if (end > 0) {
                    const qsizetype start = output.lastIndexOf('\n', end - 1) + 1;
                    reported = output.mid(start, end - start).toLongLong();
                }
            }
            child.kill();
            QVERIFY(child.waitForFinished());
            output += child.readAllStandardOutput();
            reported = output.trimmed().split('\n').last().toLongLong();

            const QString path = dir.filePath(Test23Schema().fileName);
            QCOMPARE(integrityOf(path), QStringLiteral("ok"));
            DatabaseTable table(dir.path(), Test23Schema());
            QVERIFY2(
                table.open(DatabaseTable::OpenMode::ExistingOnly), qPrintable(table.errorText()));
            const qint64 rows = table.rowCount();
            // A row may be committed with its report still unwritten when the kill comes.
            QVERIFY2(rows == reported || rows == reported + 1,
                qPrintable(QStringLiteral("%1 rows, %2 reported").arg(rows).arg(reported)));
            QList<TableRow> page;
            QVERIFY(table.readPage({}, 0, int(rows), &page));
            for (qint64 i = 0; i < rows; ++i) {
                QVariantList expected = rowNumber(i + 1);
                expected[0] = expected[0].toDate().toString(QStringLiteral("yyyy-MM-dd"));
                expected[1] = expected[1].toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
                QCOMPARE(page.at(i).values, expected);
            }
            reported = rows;
        }
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], ChildOption) == 0) {
        return appendRowsUntilKilled(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
