#pragma once

#include "records/databaselocation.h"
#include "records/resultoutbox.h"

#include <QObject>
#include <QString>
#include <QVariantList>

struct BandMessages;
class Clock;
class OperatorMessages;
struct CurrentNumbers;
struct Measurements;
struct StationParameters;
struct TableSchema;

// Records finished tests as rows of the result tables, and resets the state the
// rows are made from. Each row is one durable append to a table opened (or created)
// for it and closed right after; on a server that does not answer it is kept on the
// PC and sent later (see ResultOutbox), which the grid is told through the
// outbox's notice(). A row that cannot be written is not lost in silence: the
// operator gets an error box naming the table and the reason.
class ResultRecorder : public QObject
{
    Q_OBJECT
public:
    ResultRecorder(DatabaseLocation database, const StationParameters &parameters,
        const CurrentNumbers &numbers, Measurements &measurements, BandMessages &bandMessages,
        Clock &clock, OperatorMessages &messages, QObject *parent = nullptr);

    const DatabaseLocation &database() const { return m_database; }
    ResultOutbox &outbox() { return m_outbox; }

    // A row of tests1.DB: a station self-test ("Тест 1") or a parameter set sent
    // ("Запись", with empty code and result word). True when the row was written
    // or kept for the server.
    bool WriteToTable1(const QString &event, const QString &code, const QString &resultWord);

    // A row of Test23.DB for radio test 2 or 3, then the band message flags are
    // reset, whether or not the row was written. True when the row was written or
    // kept for the server.
    bool WriteToTable2(const QString &event, const QString &code, const QString &resultWord,
        const QString &direction);
    // The same in two steps, for a caller that may show a box between taking the row
    // and writing it: the row as it stands now (the band message flags are reset),
    // and its writing.
    QVariantList Test23Row(const QString &event, const QString &code, const QString &resultWord,
        const QString &direction);
    bool WriteTest23Row(const QVariantList &row);

    // Resets the measurements; the window empties its measurement fields on
    // measurementsCleared().
    void ClearMeasurements();

    void ResetBandMessages();

Q_SIGNALS:
    void measurementsCleared();

private:
    bool appendRow(const TableSchema &schema, const QVariantList &values);

    DatabaseLocation m_database;
    const StationParameters &m_parameters;
    const CurrentNumbers &m_numbers;
    Measurements &m_measurements;
    BandMessages &m_bandMessages;
    Clock &m_clock;
    OperatorMessages &m_messages;
    ResultOutbox m_outbox;
};
