#pragma once

#include <QString>

// The database alias dbTelv: a record, in a settings file of ours in the per-user
// configuration directory, of where the program's tables are.

enum class AliasUpdate { Created, Repointed, Unchanged };

struct DatabaseAlias
{
    QString directory; // where the tables are, ending in "/"
    AliasUpdate update = AliasUpdate::Unchanged;
};

inline constexpr char DatabaseAliasName[] = "dbTelv";

// The settings file that holds the alias.
QString DatabaseAliasFile();

// The directory the tables live in: the program's own directory, or, when that
// cannot be written (an installed copy), telv2 in the per-user data directory.
// Ends in "/".
QString ChooseDatabaseDirectory(const QString &programDirectory);

// Chooses the database directory for a program in programDirectory and makes the
// alias point there: created when missing, re-pointed when the recorded path
// differs other than in letter case, and the file saved only then. Alias names are
// compared without regard to letter case too. The tables are always used in the
// returned directory.
DatabaseAlias EnsureDatabaseAlias(const QString &programDirectory);

// The same for the running program's own directory.
DatabaseAlias EnsureDatabaseAlias();
