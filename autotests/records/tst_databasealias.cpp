#include "readonlydirectory.h"
#include "records/databasealias.h"
#include "records/tableschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime LongAgo(QDate(2001, 2, 3), QTime(4, 5, 6));

QString recordedPath(const QString &group = QStringLiteral("dbTelv"))
{
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    return settings.value(group + QStringLiteral("/Path")).toString();
}

void writeAlias(const QString &group, const QString &path)
{
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    settings.setValue(group + QStringLiteral("/Driver"), QStringLiteral("SQLITE"));
    settings.setValue(group + QStringLiteral("/Path"), path);
}

// Dates the settings file back, so that a rewrite shows in its time stamp.
void ageAliasFile()
{
    QFile file(DatabaseAliasFile());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(LongAgo, QFileDevice::FileModificationTime));
}

QDateTime aliasFileTime()
{
    return QFileInfo(DatabaseAliasFile()).lastModified();
}

void putTableIn(const QString &directory)
{
    QVERIFY(QDir().mkpath(directory));
    QFile table(QDir(directory).filePath(Test23Schema().fileName));
    QVERIFY(table.open(QIODevice::WriteOnly));
}

} // namespace

class TestDatabaseAlias : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_programs;

private Q_SLOTS:
    void initTestCase()
    {
        // Never the real configuration: private configuration and data directories.
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        QVERIFY(QDir().mkpath(m_programs.filePath("Telv")));
        QVERIFY(QDir().mkpath(m_programs.filePath("moved")));
    }

    void init() { QFile::remove(DatabaseAliasFile()); }

    void aliasFileIsInTheUsersConfigurationDirectory()
    {
        QVERIFY2(DatabaseAliasFile().startsWith(m_home.filePath("config") + u'/'),
            qPrintable(DatabaseAliasFile()));
    }

    void firstStartCreatesTheAlias()
    {
        const QString program = m_programs.filePath("Telv");
        const DatabaseAlias alias = EnsureDatabaseAlias(program);
        QCOMPARE(alias.update, AliasUpdate::Created);
        QCOMPARE(alias.directory, program + u'/');
        QCOMPARE(recordedPath(), program + u'/');
        // The check that the directory can be written leaves nothing behind.
        QCOMPARE(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }

    void sameDirectoryChangesAndSavesNothing()
    {
        const QString program = m_programs.filePath("Telv");
        EnsureDatabaseAlias(program);
        ageAliasFile();
        QCOMPARE(EnsureDatabaseAlias(program + u'/').update, AliasUpdate::Unchanged);
        QCOMPARE(aliasFileTime(), LongAgo);
    }

    void movedProgramRepointsTheAliasOnce()
    {
        EnsureDatabaseAlias(m_programs.filePath("Telv"));
        const QString moved = m_programs.filePath("moved");
        const DatabaseAlias alias = EnsureDatabaseAlias(moved);
        QCOMPARE(alias.update, AliasUpdate::Repointed);
        QCOMPARE(alias.directory, moved + u'/');
        QCOMPARE(recordedPath(), moved + u'/');

        ageAliasFile();
        QCOMPARE(EnsureDatabaseAlias(moved).update, AliasUpdate::Unchanged);
        QCOMPARE(aliasFileTime(), LongAgo);
    }

    void pathDifferingInLetterCaseOnlyIsLeftAlone()
    {
        const QString program = m_programs.filePath("Telv");
        const QString otherCase = program.toUpper() + u'/';
        writeAlias(QStringLiteral("dbTelv"), otherCase);
        ageAliasFile();
        const DatabaseAlias alias = EnsureDatabaseAlias(program);
        QCOMPARE(alias.update, AliasUpdate::Unchanged);
        QCOMPARE(recordedPath(), otherCase);
        QCOMPARE(aliasFileTime(), LongAgo);
        QCOMPARE(alias.directory, program + u'/'); // the tables stay where the program is
    }

    void aliasNameMatchesWithoutRegardToCase()
    {
        writeAlias(QStringLiteral("DBTelv"), QStringLiteral("/nowhere/"));
        const QString program = m_programs.filePath("Telv");
        QCOMPARE(EnsureDatabaseAlias(program).update, AliasUpdate::Repointed);
        QCOMPARE(recordedPath(QStringLiteral("DBTelv")), program + u'/');
        QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
        QCOMPARE(settings.childGroups(), QStringList { QStringLiteral("DBTelv") });
    }

    void unwritableProgramDirectoryPutsTablesInTheUsersDataDirectory()
    {
        // A directory below a plain file can never be written, not even by root.
        const QString file = m_programs.filePath("plain-file");
        {
            QFile plain(file);
            QVERIFY(plain.open(QIODevice::WriteOnly));
        }
        const DatabaseAlias alias = EnsureDatabaseAlias(file + QStringLiteral("/bin"));
        const QString expected = m_home.filePath("data") + QStringLiteral("/telv2/");
        QCOMPARE(alias.directory, expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(recordedPath(), expected);
        QVERIFY(alias.notice.contains(QDir::cleanPath(expected)));
    }

    void oneRuleForWhereTheTablesLive_data()
    {
        QTest::addColumn<bool>("tablesBeside");
        QTest::addColumn<bool>("besideWritable");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("recorded"); // "", "old with tables", "old empty"
        QTest::addColumn<bool>("machineWritable");
        QTest::addColumn<QString>("chosen"); // "program", "machine", "user", "old"
        QTest::addColumn<bool>("told");
        QTest::addColumn<AliasUpdate>("update");

        QTest::newRow("portable copy, first start")
            << false << true << false << "" << true << "program" << false << AliasUpdate::Created;
        QTest::newRow("tables beside a copy in a read-only directory")
            << true << false << false << "" << true << "program" << true << AliasUpdate::Created;
        QTest::newRow("tables beside, earlier ones elsewhere")
            << true << true << false << "old with tables" << true << "program" << true
            << AliasUpdate::Repointed;
        QTest::newRow("moved copy, tables left behind")
            << false << true << false << "old with tables" << true << "old" << true
            << AliasUpdate::Unchanged;
        QTest::newRow("moved copy, nothing left behind")
            << false << true << false << "old empty" << true << "program" << false
            << AliasUpdate::Repointed;
        QTest::newRow("installed, first start")
            << false << false << true << "" << true << "machine" << false << AliasUpdate::Created;
        QTest::newRow("installed, machine's directory not writable")
            << false << false << true << "" << false << "machine" << true << AliasUpdate::Created;
        QTest::newRow("installed after a portable copy with tables")
            << false << false << true << "old with tables" << true << "old" << true
            << AliasUpdate::Unchanged;
        QTest::newRow("read-only copy without tables")
            << false << false << false << "" << true << "user" << true << AliasUpdate::Created;
    }
    void oneRuleForWhereTheTablesLive()
    {
        QFETCH(bool, tablesBeside);
        QFETCH(bool, besideWritable);
        QFETCH(bool, installed);
        QFETCH(QString, recorded);
        QFETCH(bool, machineWritable);
        QFETCH(QString, chosen);
        QFETCH(bool, told);
        QFETCH(AliasUpdate, update);

        QTemporaryDir root;
        const QMap<QString, QString> dirs { { "program", root.filePath("bin") + u'/' },
            { "machine", root.filePath("var/lib/telv2") + u'/' },
            { "user", root.filePath("home/data/telv2") + u'/' },
            { "old", root.filePath("old") + u'/' } };
        for (const QString &dir : { dirs["program"], dirs["machine"], dirs["old"] }) {
            QVERIFY(QDir().mkpath(dir));
        }
        if (tablesBeside) {
            putTableIn(dirs["program"]);
        }
        if (recorded == "old with tables") {
            putTableIn(dirs["old"]);
        }
        if (!recorded.isEmpty()) {
            writeAlias(QStringLiteral("dbTelv"), dirs["old"]);
        }
        const TablePlaces places { dirs["program"],
            installed ? dirs["program"] : root.filePath("usr/bin"), dirs["machine"],
            dirs["user"] };
        std::optional<ReadOnlyDirectory> closedProgram;
        std::optional<ReadOnlyDirectory> closedMachine;
        if (!besideWritable) {
            closedProgram.emplace(dirs["program"]);
        }
        if (!machineWritable) {
            closedMachine.emplace(dirs["machine"]);
        }

        const auto programBefore = FileChecksums(dirs["program"]);
        const auto oldBefore = FileChecksums(dirs["old"]);

        const DatabaseAlias alias = EnsureDatabaseAlias(places);
        QCOMPARE(FileChecksums(dirs["program"]), programBefore);
        QCOMPARE(FileChecksums(dirs["old"]), oldBefore);
        QCOMPARE(alias.directory, dirs[chosen]);
        QCOMPARE(recordedPath(), dirs[chosen]);
        QCOMPARE(alias.update, update);
        QVERIFY(!alias.reason.isEmpty());
        QCOMPARE(!alias.notice.isEmpty(), told);
        if (told) {
            // The box names the folder that is used.
            QVERIFY2(
                alias.notice.contains(QDir::cleanPath(dirs[chosen])), qPrintable(alias.notice));
        }
        QCOMPARE(alias.reason.contains("только чтение"),
            (!besideWritable && chosen == "program") || (!machineWritable && chosen == "machine"));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseAlias)
#include "tst_databasealias.moc"
