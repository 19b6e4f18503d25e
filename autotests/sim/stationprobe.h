#pragma once

#include "fakeclock.h"
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/trafficlog.h"
#include "sim/station.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// What the PC's receive path makes of the station's bytes: each status code and
// each completed frame, with the time it came, in order.
struct ReceivedUnit
{
    qint64 atMs = 0;
    int status = -1; // the status code, or -1 for a frame
    MessageFrame frame;

    // "C9" for a status code, "E2" for a frame: status codes and frame codes never
    // share a value, so one text names either.
    QString name() const;
};

class UnitRecorder final : public ReceiveHandler
{
public:
    void HandleStatusCode(std::uint8_t code) override;
    void DispatchFrame(const MessageFrame &frame) override;

    qint64 nowMs = 0;
    QList<ReceivedUnit> units;
};

// A station on a fake clock whose answers are framed by the program's assembler.
struct StationProbe
{
    explicit StationProbe(SimStation::Options options = {});

    void send(const QByteArray &bytes) { station.receive(bytes); }
    void run(qint64 ms) { clock.advance(ms); }

    QStringList names() const;
    QList<ReceivedUnit> frames(int code) const;
    QList<ReceivedUnit> statuses(int code) const;
    // Forgets what came so far.
    void clear();

    FakeClock clock;
    QDateTime start = clock.now();
    SimStation station;
    UnitRecorder recorder;
    TrafficLog log;
    FrameAssembler assembler { recorder, log };
    QByteArray raw; // every byte the station sent
};

// Why bytes are not a clean run of status codes and whole 10-byte frames; empty
// when they are.
QString FramingProblem(const QByteArray &bytes);

// Whether expected occurs in actual in this order, other items between allowed.
bool IsSubsequence(const QStringList &expected, const QStringList &actual);

// Frame cells as a text of hex digits, cell 0 first: "00000001".
QString Cells(const MessageFrame &frame);
