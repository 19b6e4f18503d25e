#include "records/databasealias.h"

#include <QCoreApplication>
#include <QDir>
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

} // namespace

QString DatabaseAliasFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/telv2/databases.ini");
}

QString ChooseDatabaseDirectory(const QString &programDirectory)
{
    const QString programDir = withSeparator(programDirectory);
    if (canWriteIn(programDir)) {
        return programDir;
    }
    const QString userDir
        = withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/telv2"));
    QDir().mkpath(userDir);
    return userDir;
}

DatabaseAlias EnsureDatabaseAlias(const QString &programDirectory)
{
    DatabaseAlias alias { ChooseDatabaseDirectory(programDirectory), AliasUpdate::Unchanged };
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    QString group = aliasGroup(settings);
    if (group.isEmpty()) {
        group = QLatin1StringView(DatabaseAliasName);
        alias.update = AliasUpdate::Created;
    } else {
        const QString recorded = settings.value(group + u'/' + PathKey).toString();
        if (recorded.compare(alias.directory, Qt::CaseInsensitive) == 0) {
            return alias;
        }
        alias.update = AliasUpdate::Repointed;
    }
    settings.setValue(group + u'/' + DriverKey, DriverName);
    settings.setValue(group + u'/' + PathKey, alias.directory);
    settings.sync();
    return alias;
}

DatabaseAlias EnsureDatabaseAlias()
{
    return EnsureDatabaseAlias(QCoreApplication::applicationDirPath());
}
