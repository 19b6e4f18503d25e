#pragma once

#include "records/databasetable.h"
#include "records/tableeditmodel.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

class Clock;
class OperatorMessages;
class ReceivedFactoryDigits;
class ResultOutbox;

// The register of the factory numbers of the blocks of each locomotive's radio
// station, BlockNum.DB: one row per locomotive and set of eight block numbers, with
// when it was first entered and when the station last confirmed it. Opened once at
// start-up; written by the radio tests and edited by hand in its window.
class FactoryNumbersRegister
{
public:
    static constexpr int StationKind = 2; // received from the station
    static constexpr int HandKind = 1; // entered by hand

    FactoryNumbersRegister(
        const DatabaseLocation &database, Clock &clock, OperatorMessages &messages);

    // Opens the table, creating it with its key when missing, and loads the rows.
    bool open();
    const QString &errorText() const { return m_table.errorText(); }
    const DatabaseTable &table() const { return m_table; }

    TableEditModel &model() { return m_model; }
    bool FactoryNumberWriteInProgress() const { return m_writing; }

    // With the register on a server: where a set that cannot reach the server
    // waits (behind the results waiting there), instead of an error box.
    void setOutbox(ResultOutbox *outbox) { m_outbox = outbox; }

    // Records one set of numbers: a set the locomotive already has is confirmed
    // (LastD, LastT and Kind), a new one is added with the stamp as its entry. A row
    // the operator is editing is first saved or dropped, as the operator answers.
    // Failures are shown to the operator; false then.
    bool WriteFactoryNumbers(
        const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp);

    // Turns the digits received during a radio test into the entry of the locomotive
    // (nothing when no digit came) and clears them.
    void SaveReceivedFactoryNumbers(ReceivedFactoryDigits &digits, const QString &locoNumber);

    // The rows of the printed list: Loko, d, t, Block1..Block8 as texts, in key
    // order; with currentOnly only the rows that no later confirmation of the same
    // locomotive replaces.
    bool printRows(bool currentOnly, QList<QStringList> *rows);
    static QStringList printFields();

private:
    bool writeRow(const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp);
    bool keepForServer(
        const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp);
    void finishOperatorEdit();

    Clock &m_clock;
    OperatorMessages &m_messages;
    DatabaseTable m_table;
    TableEditModel m_model;
    bool m_writing = false;
    ResultOutbox *m_outbox = nullptr;
};

// "Вручную", "Автоматически" or nothing, by the row's Kind.
QString KindCaption(const QVariant &kind);

// The eight block texts of the received digits: one character per cell, a cell
// above 9 as its hexadecimal digit, so that each block keeps its 16 positions.
QStringList FactoryNumberTexts(const ReceivedFactoryDigits &digits);
bool HasFactoryDigits(const ReceivedFactoryDigits &digits);
