// The real telv2-sim program on a pseudo-terminal, reached through the program's
// own serial connection, frame assembly and command sender.
#include "bytes.h"
#include "fakemessages.h"
#include "link/attenuationlookup.h"
#include "link/commandbuffer.h"
#include "link/commands.h"
#include "link/commandsender.h"
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/serialconnection.h"
#include "link/serialdevices.h"
#include "link/stationreceiver.h"
#include "link/stationview.h"
#include "link/trafficlog.h"
#include "receivepath.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "shared/stationdata.h"
#include "sim/operatorconsole.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int AnswerTimeoutMs = 10000;

int ExclusiveMode(int fd)
{
    int mode = -1;
    return ::ioctl(fd, TIOCGEXCL, &mode) == 0 ? mode : -1;
}

// Every locomotive has the corrections 12 (МВ) and 7 (ГМВ) in the register.
class FixedLookup final : public AttenuationLookup
{
public:
    Result find(const QString &) override { return { Outcome::Found, { 12, 7 } }; }
};

// The PC's side: the program's serial connection, frame assembly, receiver (status
// codes with the attenuation correction reply, frame dispatch) and command sender.
// It also keeps each unit as it came, for the tests to look at.
class PcSide final : public ReceiveHandler
{
public:
    PcSide()
        : sender(buffer, sentLog, messages, clock)
        , receiver(station, view, buffer, sender)
    {
        sender.setPort(&connection);
        receiver.statusCodes().setAttenuationLookup(&lookup);
    }

    void HandleStatusCode(std::uint8_t code) override
    {
        statuses.append(code);
        receiver.HandleStatusCode(code);
    }

    void DispatchFrame(const MessageFrame &frame) override
    {
        frames.append(frame);
        receiver.DispatchFrame(frame);
    }

    void send(const std::function<void(CommandBuffer &)> &build)
    {
        buffer.Start();
        build(buffer);
        sender.SendCommand();
    }

    bool hasFrame(int code, int cell, int value) const
    {
        for (const MessageFrame &f : frames) {
            if (f.Code == code && f.Count == 8 && f.Nibble[cell] == value) {
                return true;
            }
        }
        return false;
    }

    void forget()
    {
        statuses.clear();
        frames.clear();
    }

    SystemClock clock;
    FakeMessages messages;
    TrafficLog receivedLog;
    TrafficLog sentLog;
    FrameAssembler assembler { *this, receivedLog };
    SystemSerialDevices devices;
    SerialConnection connection { assembler, clock, devices };
    CommandBuffer buffer;
    CommandSender sender;
    StationData station;
    ShownView view;
    FixedLookup lookup;
    StationReceiver receiver;
    QList<int> statuses;
    QList<MessageFrame> frames;
};

} // namespace

class TestSimPty : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_sim.setProgram(QStringLiteral(TELV2_SIM_BINARY));
        m_sim.setArguments({ "--speed", "10", "--options-dir", m_dir.path() });
        m_sim.setProcessChannelMode(QProcess::SeparateChannels);
        m_sim.start();
        QVERIFY(m_sim.waitForStarted(AnswerTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), AnswerTimeoutMs);
        m_port = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
        QVERIFY2(m_port.startsWith("/dev/"), qPrintable(m_port));
    }

    void cleanupTestCase()
    {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(AnswerTimeoutMs);
        }
    }

    void optionsFileNamesThePort()
    {
        QFile options(m_dir.filePath("Options.dat"));
        QVERIFY(options.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(options.readAll()), m_port + "\r\n");
    }

    void selfTestAnsweredAndPortReopened()
    {
        PcSide pc;
        QVERIFY2(pc.connection.OpenPort(m_port), qPrintable(pc.connection.lastError()));
        pc.send([](CommandBuffer &b) { AppendTestStartFrame(b, TestNumber::SelfTest); });
        QCOMPARE(pc.messages.errors, QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(pc.hasFrame(0xE2, 7, 1), AnswerTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(pc.statuses.contains(0xC0), AnswerTimeoutMs);
        QVERIFY(pc.statuses.contains(0xC9));
        QVERIFY(!pc.assembler.frameInProgress());

        // The program closes its port and opens it again: the station still answers.
        pc.connection.closePort();
        pc.forget();
        QVERIFY2(pc.connection.OpenPort(m_port), qPrintable(pc.connection.lastError()));
        pc.send([](CommandBuffer &b) { b.append(CommandByte::Reset); });
        QTRY_VERIFY_WITH_TIMEOUT(pc.hasFrame(0xF6, 0, 0), AnswerTimeoutMs);
        QCOMPARE(pc.statuses.value(0), 0xC0);
        QCOMPARE(pc.frames.size(), 9);
    }

    void stationInitiatedTestsOverThePort()
    {
        PcSide pc;
        QVERIFY2(pc.connection.OpenPort(m_port), qPrintable(pc.connection.lastError()));

        m_sim.write("selftest\n");
        QTRY_COMPARE_WITH_TIMEOUT(pc.view.postedTests, QList<int> { 1 }, AnswerTimeoutMs);
        QCOMPARE(pc.station.test.collectedCount, 1);
        QCOMPARE(FrameNibblesToText(pc.station.test.TestCollection[0]).text, QString("00000001"));
        QTRY_VERIFY_WITH_TIMEOUT(pc.statuses.contains(0xC0), AnswerTimeoutMs);
        pc.station.test.CollectingTest = 0; // the program's wait has shown the result

        // A radio test from the locomotive radio asks for the attenuation correction;
        // the program answers from the register, and the station's measured
        // attenuation shows it.
        pc.forget();
        m_sim.write("test2\n");
        QTRY_COMPARE_WITH_TIMEOUT(pc.view.postedTests, QList<int>({ 1, 2 }), 3 * AnswerTimeoutMs);
        QVERIFY(pc.statuses.contains(0xCC));
        QCOMPARE(pc.sentLog.bytes(), Bytes("F4 80 80 80 80 81 82 80 87 F5"));
        QCOMPARE(pc.messages.errors, QStringList());
        // The station's own attenuation is 12 for МВ and 10 for ГМВ.
        QCOMPARE(pc.view.fields.value(StationView::Field::MvAttenuation), QString("24"));
        QCOMPARE(pc.view.fields.value(StationView::Field::GmvAttenuation), QString("17"));
        QCOMPARE(pc.view.fields.value(StationView::Field::MvVerdict), QString("Норма"));
        // The radio's numbers and its blocks' factory numbers reached the program.
        QCOMPARE(pc.station.ReceivedLocoNumber, QString("0031452"));
        QVERIFY(pc.view.lines.filter("Зав. номер ").size() >= 2);
        QVERIFY(pc.view.lines.contains("Коррекция ослабления (МВ, ГМВ): 12 7"));
        // The course ends with the station free; that byte belongs to this test, not to
        // the next one's port.
        QTRY_VERIFY_WITH_TIMEOUT(pc.statuses.contains(0xC0), AnswerTimeoutMs);
    }

    void bytesMissedWhileThePortIsClosedAreNotReplayed()
    {
        // With no port open, far more line noise than the line can hold.
        QByteArray lines;
        for (int i = 0; i < 3000; ++i) {
            lines += "noise\n";
        }
        m_sim.readAllStandardOutput();
        m_sim.write(lines + "help\n");
        // The help text comes after every noise burst has gone out.
        QByteArray replies;
        QTRY_VERIFY_WITH_TIMEOUT(
            (replies += m_sim.readAllStandardOutput()).contains("quit"), 3 * AnswerTimeoutMs);
        QCOMPARE(replies.count("\n"), 3000 + OperatorConsole::helpText().count('\n') + 1);

        PcSide pc;
        QVERIFY(pc.connection.OpenPort(m_port));
        pc.send([](CommandBuffer &b) { b.append(CommandByte::Reset); });
        QTRY_VERIFY_WITH_TIMEOUT(pc.hasFrame(0xF6, 0, 0), AnswerTimeoutMs);
        // The first byte after opening is the answer, not what the closed port missed.
        QCOMPARE(pc.receivedLog.bytes().left(1), QByteArray("\xC0"));
        QCOMPARE(pc.receivedLog.size(), 1 + 9 * 10);
    }

    void exclusiveModeOfAVanishedProgramIsCleared()
    {
        const QByteArray path = m_port.toLocal8Bit();
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        QCOMPARE(::ioctl(fd, TIOCEXCL), 0);
        QCOMPARE(ExclusiveMode(fd), 1);
        ::close(fd); // the way a crashed program's port closes: exclusive mode still set

        const auto cleared = [&] {
            const int probe = ::open(path.constData(), O_RDWR | O_NOCTTY);
            if (probe < 0) {
                return false; // still exclusive (for anybody but root)
            }
            const int mode = ExclusiveMode(probe);
            ::close(probe);
            return mode == 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(cleared(), AnswerTimeoutMs);

        PcSide pc;
        QVERIFY2(pc.connection.OpenPort(m_port), qPrintable(pc.connection.lastError()));
    }

    void endOfInputLeavesTheStationRunning()
    {
        m_sim.closeWriteChannel();
        PcSide pc;
        QVERIFY(pc.connection.OpenPort(m_port));
        pc.send([](CommandBuffer &b) { b.append(CommandByte::Reset); });
        QTRY_VERIFY_WITH_TIMEOUT(pc.statuses.contains(0xC0), AnswerTimeoutMs);
        QCOMPARE(m_sim.state(), QProcess::Running);
    }

    void badStartIsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("portNamed");
        QTest::newRow("speed 0") << QStringList { "--speed", "0" } << 2 << false;
        QTest::newRow("unknown option") << QStringList { "--baud", "9600" } << 2 << false;
        QTest::newRow("options directory missing")
            << QStringList { "--options-dir", m_dir.filePath("missing") } << 1 << true;
    }

    void badStartIsRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, portNamed);
        QProcess sim;
        sim.start(QStringLiteral(TELV2_SIM_BINARY), arguments);
        QVERIFY(sim.waitForFinished(AnswerTimeoutMs));
        QCOMPARE(sim.exitCode(), exitCode);
        QCOMPARE(sim.readAllStandardOutput().startsWith("/dev/"), portNamed);
        QVERIFY(!sim.readAllStandardError().isEmpty());
    }

    void quitEndsTheSimulator()
    {
        QProcess sim;
        sim.start(QStringLiteral(TELV2_SIM_BINARY), {});
        QVERIFY(sim.waitForStarted(AnswerTimeoutMs));
        sim.write("quit\n");
        QVERIFY(sim.waitForFinished(AnswerTimeoutMs));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_port;
};

QTEST_GUILESS_MAIN(TestSimPty)
#include "tst_simpty.moc"
