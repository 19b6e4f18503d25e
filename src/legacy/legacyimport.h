#pragma once

#include "legacy/legacyfiles.h"
#include "records/databaselocation.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the import needs from whoever runs it: a window, the terminal, a test.
class LegacyImportView
{
public:
    virtual ~LegacyImportView() = default;
    // How far the reading has come: done of total records of all tables. Returning
    // false cancels the import; nothing is written then.
    virtual bool progress(const QString &fileName, qint64 done, qint64 total) = 0;
    // The reading is over and the rows are being written, without a pause until
    // the end (nothing else may write the tables meanwhile).
    virtual void writing() = 0;
    // The code page to read the texts of a table whose header names none that is
    // known: 866 or 1251, or 0 to leave the table out.
    virtual int chooseCodePage(const QString &fileName) = 0;
    // Yes or no to a question before anything is moved.
    virtual bool confirm(const QString &question) = 0;
    // The outcome, when all is over; succeeded is false when anything failed.
    virtual void showSummary(const QString &text, bool succeeded) = 0;
};

struct LegacyTableResult
{
    enum class Outcome { Imported, Failed, LeftOut };

    QString fileName; // the old file, as messages name it
    QString tableName; // the table of ours
    Outcome outcome = Outcome::Imported;
    qint64 records = 0; // rows in the old file
    qint64 added = 0;
    qint64 alreadyThere = 0; // identical in every field to a row the table had
    qint64 conflicts = 0; // a register key the table had, with other values
    QString error;
    QStringList notes;
};

struct LegacyImportResult
{
    QList<LegacyTableResult> tables;
    bool cancelled = false;

    // Every table imported and nothing cancelled.
    bool succeeded() const;
};

// Merges the old tables into the tables of ours at tables (created when missing). Result rows are appended unless identical in every field to a row the
// table had before; register rows are inserted by key, and a key the register had
// keeps its row (a conflict, unless the rows are identical).
//
// First every old table is read through and checked (progress, cancel); a damaged
// file, a value our table cannot hold or a missing code page leaves that table
// out entirely. Then each table that passed gets its rows in one transaction.
LegacyImportResult ImportLegacyTables(
    const QList<LegacyTableFile> &files, const DatabaseLocation &tables, LegacyImportView &view);

// The result as lines for the operator, one per table.
QString LegacyImportSummary(const LegacyImportResult &result);
