#pragma once

#include <QString>

// The database alias dbTelv: a record, in a settings file of ours in the per-user
// configuration directory, of where the program's tables are.
//
// Where the tables live, one rule for every start:
// 1. When the program's directory holds any of the four tables, they are used, and
//    read only if the directory cannot be written.
// 2. Otherwise, when the recorded directory holds tables, it is kept.
// 3. Otherwise a portable copy keeps its tables beside itself, and an installed
//    program (one in the directory the package installs it to) in the machine's
//    directory; a portable copy whose directory cannot be written uses the user's
//    data directory.
// Whenever this is not the obvious place (beside a portable copy, the machine's
// directory of an installed program) or the tables cannot be written, the operator
// is told at start-up which folder is used and why.

enum class AliasUpdate { Created, Repointed, Unchanged };

struct DatabaseAlias
{
    QString directory; // where the tables are, ending in "/"
    AliasUpdate update = AliasUpdate::Unchanged;
    QString reason; // a few words for the About box: what kind of folder this is
    QString notice; // the start-up message; empty when the place is the obvious one
};

// The places the rule weighs.
struct TablePlaces
{
    QString programDirectory;
    QString installedDirectory; // where the package installs the program
    QString machineDirectory; // the tables of an installed program
    QString userDirectory; // for a portable copy whose directory cannot be written
};

inline constexpr char DatabaseAliasName[] = "dbTelv";

// The settings file that holds the alias.
QString DatabaseAliasFile();

// The places of a program in programDirectory, as this build installs it.
TablePlaces ProgramTablePlaces(const QString &programDirectory);

// Whether the directory holds any of the program's four table files.
bool HoldsTables(const QString &directory);

// Chooses the tables' directory by the rule above and makes the alias point there:
// created when missing, re-pointed when the recorded path differs other than in
// letter case, and the file saved only then. Alias names are compared without regard
// to letter case too.
DatabaseAlias EnsureDatabaseAlias(const TablePlaces &places);
DatabaseAlias EnsureDatabaseAlias(const QString &programDirectory);

// The same for the running program's own directory.
DatabaseAlias EnsureDatabaseAlias();
