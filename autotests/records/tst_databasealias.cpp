#include "records/databasealias.h"

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
    }
};

QTEST_GUILESS_MAIN(TestDatabaseAlias)
#include "tst_databasealias.moc"
