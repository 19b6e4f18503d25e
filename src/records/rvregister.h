#pragma once

#include "link/attenuationlookup.h"
#include "records/databasetable.h"
#include "records/tableeditmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

// The register of locomotive radio stations, РВ.db: the attenuation corrections for
// МВ and ГМВ of each locomotive. It is opened once at start-up and stays open for
// the whole run; the grid edits it row by row and the station's correction requests
// read it.
class RvRegister final : public AttenuationLookup
{
public:
    explicit RvRegister(const DatabaseLocation &database);

    // Opens the table, creating it empty when missing, and loads the rows. False
    // with errorText() when that fails: the register then stays empty.
    bool open();
    bool close();
    const QString &errorText() const { return m_table.errorText(); }

    TableEditModel &model() { return m_model; }
    DatabaseTable &table() { return m_table; }

    // The saved row of the locomotive: what the table holds, never the row the
    // operator is editing at the moment (that stays as it is, in edit). An empty
    // correction counts as 0.
    Result find(const QString &locoNumber) override;

    // Every saved row in key order, as the report prints it: Lokomotiv, OslablenieM,
    // OslablenieG. False with errorText() when the table cannot be read.
    bool reportRows(QList<QStringList> *rows);

    static QStringList reportFields();

private:
    DatabaseTable m_table;
    TableEditModel m_model;
};

// The saved corrections of the locomotive in a table of the register's layout (the
// register, or a copy of it).
AttenuationLookup::Result FindCorrections(DatabaseTable &table, const QString &locoNumber);

// A locomotive number as the register keeps it: "0" put in front until it has at
// least 7 characters. An empty text stays empty (the number is required).
QString PadLocoNumber(const QString &number);
