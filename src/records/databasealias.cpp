#include "records/databasealias.h"

#include "records/tableschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString DriverKey = QStringLiteral("Driver");
const QString PathKey = QStringLiteral("Path");
const QString DriverName = QStringLiteral("SQLITE");

QString withSeparator(const QString &directory)
{
    const QString clean = QDir::cleanPath(QDir(directory).absolutePath());
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

// Paths are compared as the alias always compared them, without regard to case.
bool samePath(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether a file can be made in the directory: the test that counts, whatever the
// permission bits say.
bool canWriteIn(const QString &directory)
{
    QTemporaryFile probe(directory + QStringLiteral(".telv2-write-probe-XXXXXX"));
    return probe.open();
}

// The group under which the alias is kept, matched without regard to letter case.
QString aliasGroup(QSettings &settings)
{
    const QString name = QLatin1StringView(DatabaseAliasName);
    for (const QString &group : settings.childGroups()) {
        if (group.compare(name, Qt::CaseInsensitive) == 0) {
            return group;
        }
    }
    return {};
}

// A folder as the operator reads it in a sentence: without the closing separator.
QString shown(const QString &directory)
{
    const QString clean = QDir::cleanPath(directory);
    return QDir::toNativeSeparators(clean.isEmpty() ? directory : clean);
}

const QString ReadOnlyText = QStringLiteral(
    " В неё нельзя записывать: таблицы открыты только для чтения, результаты испытаний и "
    "изменения записаны не будут.");

DatabaseAlias choose(const TablePlaces &places, const QString &recorded)
{
    const QString program = withSeparator(places.programDirectory);
    const bool recordedHoldsTables = !recorded.isEmpty() && HoldsTables(recorded);
    const QString where = QStringLiteral("Папка таблиц: %1.");

    if (HoldsTables(program)) {
        DatabaseAlias alias { program, AliasUpdate::Unchanged, QStringLiteral("папка программы"),
            {} };
        QString notice;
        if (recordedHoldsTables && !samePath(recorded, program)) {
            notice += QStringLiteral(" Таблицы есть в папке программы, и используются они, а не "
                                     "таблицы папки %1, с которыми программа работала прежде.")
                          .arg(shown(recorded));
        }
        if (!canWriteIn(program)) {
            alias.reason += QStringLiteral(", только чтение");
            if (notice.isEmpty()) {
                notice = QStringLiteral(" Таблицы найдены в папке программы.");
            }
            notice += ReadOnlyText;
        }
        if (!notice.isEmpty()) {
            alias.notice = where.arg(shown(program)) + notice;
        }
        return alias;
    }

    const bool installed = samePath(program, withSeparator(places.installedDirectory));
    const QString natural = withSeparator(installed ? places.machineDirectory : program);
    if (recordedHoldsTables && !samePath(recorded, natural)) {
        return { withSeparator(recorded), AliasUpdate::Unchanged,
            QStringLiteral("здесь записаны прежние результаты"),
            where.arg(shown(recorded))
                + QStringLiteral(" В ней записаны результаты прежних запусков, поэтому программа "
                                 "работает с ней, а не с папкой %1. Чтобы перейти туда, "
                                 "перенесите в неё файлы таблиц.")
                      .arg(shown(natural)) };
    }
    if (installed) {
        DatabaseAlias alias { natural, AliasUpdate::Unchanged,
            QStringLiteral("общая папка компьютера"), {} };
        if (!canWriteIn(natural)) {
            alias.reason += QStringLiteral(", только чтение");
            alias.notice = where.arg(shown(natural)) + ReadOnlyText
                + QStringLiteral(" Право записи в неё дает группа dialout.");
        }
        return alias;
    }
    if (canWriteIn(program)) {
        return { program, AliasUpdate::Unchanged, QStringLiteral("папка программы"), {} };
    }
    const QString user = withSeparator(places.userDirectory);
    QDir().mkpath(user);
    return { user, AliasUpdate::Unchanged, QStringLiteral("папка пользователя"),
        where.arg(shown(user))
            + QStringLiteral(" В папку программы %1 нельзя записывать, а таблиц в ней нет, "
                             "поэтому таблицы хранятся в папке пользователя.")
                  .arg(shown(program)) };
}

} // namespace

QString DatabaseAliasFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/telv2/databases.ini");
}

TablePlaces ProgramTablePlaces(const QString &programDirectory)
{
    return { programDirectory, QStringLiteral(TELV2_INSTALLED_DIRECTORY),
        QStringLiteral(TELV2_MACHINE_TABLES),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/telv2") };
}

bool HoldsTables(const QString &directory)
{
    const QDir dir(directory);
    for (const TableSchema *schema :
        { &Tests1Schema(), &Test23Schema(), &RvSchema(), &BlockNumSchema() }) {
        if (QFileInfo(dir.filePath(schema->fileName)).isFile()) {
            return true;
        }
    }
    return false;
}

DatabaseAlias EnsureDatabaseAlias(const TablePlaces &places)
{
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    QString group = aliasGroup(settings);
    const QString recorded
        = group.isEmpty() ? QString() : settings.value(group + u'/' + PathKey).toString();
    DatabaseAlias alias = choose(places, recorded);
    if (group.isEmpty()) {
        group = QLatin1StringView(DatabaseAliasName);
        alias.update = AliasUpdate::Created;
    } else if (samePath(recorded, alias.directory)) {
        return alias;
    } else {
        alias.update = AliasUpdate::Repointed;
    }
    settings.setValue(group + u'/' + DriverKey, DriverName);
    settings.setValue(group + u'/' + PathKey, alias.directory);
    settings.sync();
    return alias;
}

DatabaseAlias EnsureDatabaseAlias(const QString &programDirectory)
{
    return EnsureDatabaseAlias(ProgramTablePlaces(programDirectory));
}

DatabaseAlias EnsureDatabaseAlias()
{
    return EnsureDatabaseAlias(QCoreApplication::applicationDirPath());
}
