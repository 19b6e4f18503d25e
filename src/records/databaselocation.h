#pragma once

#include <QString>

// A PostgreSQL database that holds the tables of several stations. The password is
// never kept by the program: libpq reads it from ~/.pgpass or PGPASSFILE.
struct ServerAddress
{
    QString host; // a name, an address, or the directory of a Unix socket
    int port = 5432;
    QString database;
    QString user;

    bool operator==(const ServerAddress &) const = default;
};

// Where the tables are: SQLite files in the tables directory, or, when a server is
// named, a PostgreSQL database. The tables directory is the PC's own in both cases
// (the outbox and the local copies live there).
struct DatabaseLocation
{
    DatabaseLocation() = default;
    // The SQLite files of a directory, or the server when one is given.
    DatabaseLocation(QString tablesDirectory, ServerAddress onServer = {})
        : directory(std::move(tablesDirectory))
        , server(std::move(onServer))
    { }

    QString directory;
    ServerAddress server;

    bool onServer() const { return !server.database.isEmpty(); }
    bool operator==(const DatabaseLocation &) const = default;
};
