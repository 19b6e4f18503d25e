#pragma once

#include "legacy/legacyimport.h"

#include <QDate>
#include <QList>
#include <QString>

// The question asked at start-up; directory as the operator sees it.
QString LegacyConversionQuestion(const QString &tablesDirectory);

// Imports the old tables found in folder into the tables at tables. When folder is
// the tables directory itself, its Paradox tables are first moved into a
// dated subfolder (see MoveLegacyTables) and imported from there. The summary goes
// to the view; the result tells whether every table came over.
LegacyImportResult ImportLegacyFolder(const QString &folder, const DatabaseLocation &tables,
    const QDate &day, LegacyImportView &view);

// The same for chosen table files.
LegacyImportResult ImportLegacyFiles(
    const QList<LegacyTableFile> &files, const DatabaseLocation &tables, LegacyImportView &view);

// At start-up, before any table is opened: when the tables directory holds Paradox
// tables, asks the operator and on yes converts them (see ImportLegacyFolder). On
// no nothing changes, and the question comes again at the next start. Returns
// whether anything was converted.
bool OfferLegacyConversion(const DatabaseLocation &tables, const QDate &day, LegacyImportView &view);
