#include "bytes.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/commandbuffer.h"
#include "link/commands.h"
#include "link/commandsender.h"
#include "link/trafficlog.h"

#include <QTest>

namespace {

const QString TransmitError = QStringLiteral("Ошибка передачи!");

struct Fixture
{
    CommandBuffer buffer;
    TrafficLog sentLog;
    FakeMessages messages;
    FakeClock clock;
    FakePort port;
    CommandSender sender { buffer, sentLog, messages, clock };

    Fixture() { sender.setPort(&port); }

    void buildTenBytes()
    {
        buffer.Start();
        AppendTestStartFrame(buffer, 1);
    }
};

} // namespace

class TestCommandSender : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void portTakesAll()
    {
        Fixture f;
        f.buildTenBytes();
        f.sender.SendCommand();
        f.clock.advance(0);
        QCOMPARE(f.port.written, Bytes("E2 80 80 80 80 80 80 80 81 E3"));
        QCOMPARE(f.port.lastTimeLimitMs, 500);
        QCOMPARE(f.buffer.Count(), 0);
        QCOMPARE(f.sentLog.bytes(), f.port.written);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void portTakesPartOrRefuses_data()
    {
        QTest::addColumn<int>("accept");
        QTest::addColumn<int>("logged");
        QTest::newRow("part") << 4 << 4;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("write fails") << -1 << 0;
    }

    void portTakesPartOrRefuses()
    {
        QFETCH(int, accept);
        QFETCH(int, logged);
        Fixture f;
        f.port.accept = accept;
        f.buildTenBytes();
        f.sender.SendCommand();
        QCOMPARE(f.buffer.Count(), 10 - logged);
        QCOMPARE(f.sentLog.size(), logged);
        QVERIFY(f.messages.errors.isEmpty()); // shown from the event loop, not inside the send
        f.clock.advance(0);
        QCOMPARE(f.messages.errors, QStringList { TransmitError });
    }

    void noPortWaitsTheWholeTimeLimit()
    {
        Fixture f;
        f.port.open = false;
        f.buildTenBytes();
        f.sender.SendCommand();
        QCOMPARE(f.port.writes, 0);
        QCOMPARE(f.buffer.Count(), 10);
        QCOMPARE(f.sentLog.size(), 0);
        f.clock.advance(499);
        QVERIFY(f.messages.errors.isEmpty());
        f.clock.advance(1);
        QCOMPARE(f.messages.errors, QStringList { TransmitError });
    }

    void absentPortObjectBehavesAsClosed()
    {
        Fixture f;
        f.sender.setPort(nullptr);
        f.buffer.Start();
        f.buffer.append(CommandByte::Reset);
        f.sender.SendCommand();
        f.clock.advance(50);
        QCOMPARE(f.messages.errors, QStringList { TransmitError });
        QCOMPARE(f.buffer.Count(), 1);
    }

    void eachFailedSendIsReportedOnce()
    {
        Fixture f;
        f.port.open = false;
        for (int i = 0; i < 3; ++i) {
            f.buffer.Start();
            f.buffer.append(CommandByte::Reset);
            f.sender.SendCommand();
        }
        f.clock.advance(1000);
        QCOMPARE(f.messages.errors.size(), 3);
        QCOMPARE(f.clock.activeTimers(), 0);
    }

    void emptyBufferSendsNothing()
    {
        Fixture f;
        f.buffer.Start();
        f.sender.SendCommand();
        f.clock.advance(100);
        QCOMPARE(f.port.writes, 0);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void partialSendThenReplyResendsOnlyTheUnsentTail()
    {
        Fixture f;
        f.port.accept = 4;
        f.buildTenBytes();
        f.sender.SendCommand();
        f.port.accept = 1 << 20;
        AppendAttenuationCorrectionFrame(f.buffer, 0, 0);
        f.sender.SendCommand();
        QCOMPARE(
            f.port.written, Bytes("E2 80 80 80 80 80 80 80 81 E3 F4 80 80 80 80 80 80 80 80 F5"));
        QCOMPARE(f.sentLog.bytes(), f.port.written);
    }
};

QTEST_GUILESS_MAIN(TestCommandSender)
#include "tst_commandsender.moc"
