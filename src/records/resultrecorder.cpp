#include "records/resultrecorder.h"

#include "records/tableschema.h"
#include "shared/clock.h"
#include "shared/currentnumbers.h"
#include "shared/measurements.h"
#include "shared/operatormessages.h"
#include "shared/resulttext.h"
#include "shared/stationparameters.h"

ResultRecorder::ResultRecorder(DatabaseLocation database, const StationParameters &parameters,
    const CurrentNumbers &numbers, Measurements &measurements, BandMessages &bandMessages,
    Clock &clock, OperatorMessages &messages, QObject *parent)
    : QObject(parent)
    , m_database(std::move(database))
    , m_parameters(parameters)
    , m_numbers(numbers)
    , m_measurements(measurements)
    , m_bandMessages(bandMessages)
    , m_clock(clock)
    , m_messages(messages)
    , m_outbox(m_database, clock)
{ }

bool ResultRecorder::WriteToTable1(
    const QString &event, const QString &code, const QString &resultWord)
{
    const QDateTime now = m_clock.now();
    const StationParameters &p = m_parameters;
    return appendRow(Tests1Schema(),
        { now.date(), now.time(), event, p.Mehanik, resultWord, code, p.ToolWord, p.PrmMv1,
            p.PrdMv1, p.PrmMv2, p.PrdMv2, p.PrmMv3, p.PrdMv3, p.DeviacD, p.DeviacM, p.DeviacG,
            p.Deviacd2, p.DeviacM2, p.DeviacG2, p.Osl_mw, p.osl_gmw, p.reserv });
}

bool ResultRecorder::WriteToTable2(
    const QString &event, const QString &code, const QString &resultWord, const QString &direction)
{
    return WriteTest23Row(Test23Row(event, code, resultWord, direction));
}

QVariantList ResultRecorder::Test23Row(
    const QString &event, const QString &code, const QString &resultWord, const QString &direction)
{
    const QDateTime now = m_clock.now();
    const Measurements &m = m_measurements;
    const BandMessages &flags = m_bandMessages;
    const QVariantList row { now.date(), now.time(), event, direction, m_parameters.Mehanik,
        m_numbers.TrainNumber, m_numbers.LocoNumber, resultWord, code, m.DeviacD, m.DeviacM,
        m.DeviacG, VerdictText(m.MvVerdict), m.MvAttenuation, VerdictText(m.GmvVerdict),
        m.GmvAttenuation, flags.MesD, flags.MesG, flags.MesM };
    // The flags belong to the test just finished, recorded or not; they are reset
    // before any error box so that flags of a next test arriving meanwhile survive.
    ResetBandMessages();
    return row;
}

bool ResultRecorder::WriteTest23Row(const QVariantList &row)
{
    return appendRow(Test23Schema(), row);
}

void ResultRecorder::ClearMeasurements()
{
    m_measurements.reset();
    Q_EMIT measurementsCleared();
}

void ResultRecorder::ResetBandMessages()
{
    m_bandMessages.reset();
}

bool ResultRecorder::appendRow(const TableSchema &schema, const QVariantList &values)
{
    if (m_outbox.deliver(schema, values) != ResultOutbox::Delivery::Failed) {
        return true;
    }
    m_messages.showError(QStringLiteral("Не удается записать результат в таблицу %1: %2")
                             .arg(schema.fileName, m_outbox.errorText()));
    return false;
}
