#pragma once

#include "records/databaselocation.h"

#include <optional>

// The server that the alias dbTelv names, kept beside the alias's directory in the
// same settings file. With no server named, the tables are the SQLite files of the
// tables directory. No password is ever written here.

// The server the alias names, if any.
std::optional<ServerAddress> ReadAliasServer();
// Names the server in the alias, or, given none, points the alias back at the
// tables directory. False when the settings file cannot be written.
bool WriteAliasServer(const std::optional<ServerAddress> &server);

// Where the tables are for a PC whose tables directory is directory.
DatabaseLocation CurrentDatabaseLocation(const QString &directory);

// The place of the tables in words, as the About box and the database dialog name it.
QString DescribeLocation(const DatabaseLocation &location);

// Connects to the server once; false with a Russian text that holds the server's.
bool TryServerConnection(const ServerAddress &server, QString *error);

// Records where the tables are to be from the next start: a server only after it
// has answered. False with a Russian text, the alias left as it was, otherwise.
bool ChooseDatabase(const std::optional<ServerAddress> &server, QString *error);
