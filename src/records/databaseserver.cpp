#include "records/databaseserver.h"

#include "records/databasealias.h"
#include "records/databasetable.h"

#include <QDir>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>

namespace {

const QString ServerDriverKey = QStringLiteral("ServerDriver");
const QString ServerDriverName = QStringLiteral("PSQL");
const QString HostKey = QStringLiteral("ServerHost");
const QString PortKey = QStringLiteral("ServerPort");
const QString DatabaseKey = QStringLiteral("ServerDatabase");
const QString UserKey = QStringLiteral("ServerUser");

// The alias's group as the file spells it, found without regard to letter case.
QString aliasKeyPrefix(QSettings &settings)
{
    const QString name = QLatin1StringView(DatabaseAliasName);
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        if (group.compare(name, Qt::CaseInsensitive) == 0) {
            return group + u'/';
        }
    }
    return name + u'/';
}

} // namespace

std::optional<ServerAddress> ReadAliasServer()
{
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    const QString prefix = aliasKeyPrefix(settings);
    if (settings.value(prefix + ServerDriverKey).toString().compare(ServerDriverName,
            Qt::CaseInsensitive)
        != 0) {
        return std::nullopt;
    }
    ServerAddress server;
    server.host = settings.value(prefix + HostKey).toString();
    server.port = settings.value(prefix + PortKey, server.port).toInt();
    server.database = settings.value(prefix + DatabaseKey).toString();
    server.user = settings.value(prefix + UserKey).toString();
    if (server.database.isEmpty()) {
        return std::nullopt;
    }
    return server;
}

bool WriteAliasServer(const std::optional<ServerAddress> &server)
{
    QSettings settings(DatabaseAliasFile(), QSettings::IniFormat);
    const QString prefix = aliasKeyPrefix(settings);
    if (server) {
        settings.setValue(prefix + ServerDriverKey, ServerDriverName);
        settings.setValue(prefix + HostKey, server->host);
        settings.setValue(prefix + PortKey, server->port);
        settings.setValue(prefix + DatabaseKey, server->database);
        settings.setValue(prefix + UserKey, server->user);
    } else {
        for (const QString &key : { ServerDriverKey, HostKey, PortKey, DatabaseKey, UserKey }) {
            settings.remove(prefix + key);
        }
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

DatabaseLocation CurrentDatabaseLocation(const QString &directory)
{
    return { directory, ReadAliasServer().value_or(ServerAddress { {}, 5432, {}, {} }) };
}

QString DescribeLocation(const DatabaseLocation &location)
{
    if (!location.onServer()) {
        return QStringLiteral("Каталог %1").arg(QDir::toNativeSeparators(location.directory));
    }
    const ServerAddress &server = location.server;
    return QStringLiteral("Сервер PostgreSQL %1:%2, база %3, пользователь %4")
        .arg(server.host.isEmpty() ? QStringLiteral("localhost") : server.host)
        .arg(server.port)
        .arg(server.database, server.user);
}

bool TryServerConnection(const ServerAddress &server, QString *error)
{
    const QString name = QStringLiteral("telv2-server-check");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setConnectOptions(
            QStringLiteral("connect_timeout=%1").arg(DatabaseTable::ServerConnectTimeoutS));
        ok = db.open();
        if (!ok) {
            const QSqlError failure = db.lastError();
            *error = QStringLiteral("Нет связи с сервером базы данных: %1")
                         .arg(failure.databaseText().isEmpty() ? failure.text()
                                                               : failure.databaseText());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool ChooseDatabase(const std::optional<ServerAddress> &server, QString *error)
{
    if (server && (server->database.trimmed().isEmpty() || server->user.trimmed().isEmpty())) {
        *error = QStringLiteral("Укажите базу данных и пользователя");
        return false;
    }
    if (server && !TryServerConnection(*server, error)) {
        return false;
    }
    if (!WriteAliasServer(server)) {
        *error = QStringLiteral("Не удается записать настройку в файл %1")
                     .arg(QDir::toNativeSeparators(DatabaseAliasFile()));
        return false;
    }
    return true;
}
