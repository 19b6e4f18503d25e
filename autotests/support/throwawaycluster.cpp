#include "throwawaycluster.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bin directory of the newest server installed the Debian way.
QString FindServerBinaries()
{
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    const QStringList entries = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QString best;
    int bestVersion = -1;
    for (const QString &entry : entries) {
        const int version = entry.toInt();
        if (version > bestVersion && QFile::exists(versions.filePath(entry + "/bin/initdb"))) {
            bestVersion = version;
            best = versions.filePath(entry + "/bin");
        }
    }
    return best;
}

} // namespace

ThrowawayCluster::ThrowawayCluster(bool durable)
    : m_binaries(FindServerBinaries())
    , m_durable(durable)
{
    if (m_binaries.isEmpty()) {
        m_error = "no PostgreSQL server under /usr/lib/postgresql (scripts/setup-deps installs it)";
        return;
    }
    if (!m_dir.isValid()) {
        m_error = "no temporary directory";
        return;
    }
    if (geteuid() == 0) {
        const passwd *nobody = getpwnam("nobody");
        if (!nobody || chown(qPrintable(m_dir.path()), nobody->pw_uid, nobody->pw_gid) != 0) {
            m_error = "cannot hand the cluster directory to nobody";
            return;
        }
    }
    if (!run(serverBinary("initdb"),
            { "-D", m_dir.filePath("data"), "-U", ClusterUser, "--auth=trust", "-E", "UTF8",
                "--locale=C.UTF-8", "--no-sync" })) {
        return;
    }
    start();
}

ThrowawayCluster::~ThrowawayCluster()
{
    stop();
}

QString ThrowawayCluster::socketDirectory() const
{
    return m_dir.path();
}

QString ThrowawayCluster::serverBinary(const QString &name) const
{
    return m_binaries + u'/' + name;
}

bool ThrowawayCluster::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    if (geteuid() == 0) {
        process.start("setpriv",
            QStringList { "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", program }
                + arguments);
    } else {
        process.start(program, arguments);
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        m_error = program + ": " + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

bool ThrowawayCluster::start()
{
    QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses=''").arg(m_dir.path()).arg(Port);
    if (!m_durable) {
        // Commits still reach the kernel before they are acknowledged, so a stop
        // in the middle loses none; only a crash of the machine could.
        options += " -c fsync=off -c full_page_writes=off";
    }
    m_running = run(serverBinary("pg_ctl"),
        { "-D", m_dir.filePath("data"), "-o", options, "-l", m_dir.filePath("server.log"), "-w",
            "-t", "60", "start" });
    return m_running;
}

bool ThrowawayCluster::stop()
{
    if (!m_running) {
        return true;
    }
    m_running = !run(
        serverBinary("pg_ctl"), { "-D", m_dir.filePath("data"), "-m", "immediate", "-w", "stop" });
    return !m_running;
}

QString ThrowawayCluster::createDatabase()
{
    const QString name = QStringLiteral("telv_%1").arg(++m_databases);
    const QString connection = QStringLiteral("throwaway-cluster-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection);
        db.setHostName(socketDirectory());
        db.setPort(Port);
        db.setUserName(ClusterUser);
        db.setDatabaseName("postgres");
        if (db.open()) {
            QSqlQuery create(db);
            ok = create.exec("CREATE DATABASE " + name);
            if (!ok) {
                m_error = create.lastError().text();
            }
        } else {
            m_error = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok ? name : QString();
}

ServerAddress ThrowawayCluster::newDatabase()
{
    return address(createDatabase());
}

ServerAddress ThrowawayCluster::address(const QString &database) const
{
    return { socketDirectory(), Port, database, ClusterUser };
}
