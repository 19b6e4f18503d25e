#include "bytes.h"
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/trafficlog.h"

#include <QStringList>
#include <QTest>

namespace {

// Writes what reaches the handler as short texts: "S95" for a status code,
// "E4/2:1,2" for a frame with its code, count and valid cells.
class RecordingHandler final : public ReceiveHandler
{
public:
    void HandleStatusCode(std::uint8_t code) override
    {
        events.append(QStringLiteral("S%1").arg(code, 2, 16, QLatin1Char('0')).toUpper());
    }

    void DispatchFrame(const MessageFrame &frame) override
    {
        QStringList cells;
        for (int i = 0; i < frame.Count; ++i) {
            cells.append(QString::number(frame.Nibble[i]));
        }
        events.append(QStringLiteral("%1/%2:%3")
                          .arg(frame.Code, 2, 16)
                          .toUpper()
                          .arg(frame.Count)
                          .arg(cells.join(QLatin1Char(','))));
        states.append(frame.State);
    }

    QStringList events;
    QList<int> states;
};

struct Fixture
{
    RecordingHandler handler;
    TrafficLog log;
    FrameAssembler assembler { handler, log };

    void feed(const QByteArray &bytes)
    {
        for (char b : bytes) {
            assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
    }
};

} // namespace

class TestFrameAssembler : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void framesAndStatusCodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("events");

        QTest::newRow("two nibbles") << Bytes("E4 81 82 E5") << QStringList { "E4/2:1,2" };
        QTest::newRow("no nibbles") << Bytes("E4 E5") << QStringList { "E4/0:" };
        QTest::newRow("status code between nibbles")
            << Bytes("E4 81 95 82 E5") << QStringList { "S95", "E4/2:1,2" };
        QTest::newRow("wrong closing byte drops the frame")
            << Bytes("E4 81 E7 82") << QStringList {};
        QTest::newRow("new opening byte drops the frame")
            << Bytes("E4 81 E6 83 E7") << QStringList { "E6/1:3" };
        QTest::newRow("highest code") << Bytes("FE 8F FF") << QStringList { "FE/1:15" };
        QTest::newRow("other byte") << Bytes("41") << QStringList {};
        QTest::newRow("lone closing byte") << Bytes("E5") << QStringList {};
        QTest::newRow("nibble outside a frame") << Bytes("83 E2 81 E3") << QStringList { "E2/1:1" };
        QTest::newRow("status codes at both ends")
            << Bytes("90 DF") << QStringList { "S90", "SDF" };
        QTest::newRow("full frame")
            << Bytes("E2 80 81 82 83 84 85 86 87 E3") << QStringList { "E2/8:0,1,2,3,4,5,6,7" };
        QTest::newRow("ninth nibble drops the frame")
            << Bytes("E2 80 81 82 83 84 85 86 87 88 E3 E8 81 E9") << QStringList { "E8/1:1" };
        QTest::newRow("frame after a dropped one")
            << Bytes("E4 81 E7 E4 82 E5") << QStringList { "E4/1:2" };
    }

    void framesAndStatusCodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, events);
        Fixture f;
        f.feed(bytes);
        QCOMPARE(f.handler.events, events);
        for (int state : std::as_const(f.handler.states)) {
            QCOMPARE(state, int(MessageFrame::Complete));
        }
        QCOMPARE(f.log.bytes(), bytes); // every byte is logged, whatever its class
    }

    void ninthNibbleNeverWritesPastTheCells()
    {
        Fixture f;
        f.feed(Bytes("E2 81 82 83 84 85 86 87 88 89 8A 8B 8C"));
        QCOMPARE(f.assembler.currentFrame().Count, 8);
        QCOMPARE(f.assembler.currentFrame().Nibble[7], 8);
        QVERIFY(!f.assembler.frameInProgress());
    }

    void openingKeepsTheOldCellsBeyondCount()
    {
        Fixture f;
        f.feed(Bytes("E8 81 82 83 84 85 86 87 88 E9 EC 89 ED"));
        const MessageFrame &frame = f.assembler.currentFrame();
        QCOMPARE(frame.Count, 1);
        QCOMPARE(frame.Nibble[0], 9);
        QCOMPARE(frame.Nibble[1], 2); // left over from the previous frame
    }
};

QTEST_GUILESS_MAIN(TestFrameAssembler)
#include "tst_frameassembler.moc"
