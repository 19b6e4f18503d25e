#pragma once

#include "records/databaselocation.h"

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL cluster of a test's own: made by initdb in a temporary directory,
// listening only on a Unix socket in that directory, stopped and removed with the
// object. The server runs as "nobody" when the tests run as root, since the server
// refuses to run as root. Every client connects as the superuser ClusterUser
// without a password.
class ThrowawayCluster
{
public:
    static constexpr char ClusterUser[] = "telv";
    static constexpr int Port = 5432;

    // durable false turns fsync off, for tests that never crash the machine; a
    // stop of the server keeps every commit either way.
    explicit ThrowawayCluster(bool durable = false);
    ~ThrowawayCluster();
    ThrowawayCluster(const ThrowawayCluster &) = delete;
    ThrowawayCluster &operator=(const ThrowawayCluster &) = delete;

    // Whether the cluster was made and runs; errorText() says why not.
    bool isRunning() const { return m_running; }
    const QString &errorText() const { return m_error; }

    // The directory of the socket: the host name a client gives.
    QString socketDirectory() const;

    // Stops the server at once, as a lost server would, and starts it again.
    bool stop();
    bool start();

    // Makes an empty database and gives its name.
    QString createDatabase();
    // Makes an empty database and gives the address the program's alias would name.
    ServerAddress newDatabase();
    // The address of a database of this cluster.
    ServerAddress address(const QString &database) const;

private:
    bool run(const QString &program, const QStringList &arguments);
    QString serverBinary(const QString &name) const;

    QTemporaryDir m_dir;
    QString m_binaries;
    bool m_durable = false;
    bool m_running = false;
    int m_databases = 0;
    QString m_error;
};
