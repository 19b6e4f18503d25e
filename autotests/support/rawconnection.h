#pragma once

#include "records/databaselocation.h"

#include <QDebug>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

// A plain connection beside the table layer, as another program would have.
class RawConnection
{
public:
    // The server of a location, or one table file of its directory.
    explicit RawConnection(const DatabaseLocation &location, const QString &file = {})
        : m_name(QStringLiteral("raw-%1").arg(++s_count))
    {
        QSqlDatabase db;
        if (location.onServer()) {
            db = QSqlDatabase::addDatabase("QPSQL", m_name);
            db.setHostName(location.server.host);
            db.setPort(location.server.port);
            db.setDatabaseName(location.server.database);
            db.setUserName(location.server.user);
        } else {
            db = QSqlDatabase::addDatabase("QSQLITE", m_name);
            db.setDatabaseName(location.directory + u'/' + file);
        }
        db.open();
    }
    // One SQLite file by its path.
    explicit RawConnection(const QString &sqliteFile)
        : RawConnection(DatabaseLocation(QFileInfo(sqliteFile).absolutePath()),
              QFileInfo(sqliteFile).fileName())
    { }
    ~RawConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    bool exec(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        const bool ok = q.exec(sql);
        if (!ok) {
            qWarning() << sql << q.lastError().text();
        }
        return ok;
    }

    QString value(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        return q.exec(sql) && q.next() ? q.value(0).toString() : QString();
    }

private:
    static inline int s_count = 0;
    QString m_name;
};
