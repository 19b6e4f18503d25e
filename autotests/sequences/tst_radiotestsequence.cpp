// Radio tests 2 and 3 on a recording view, without the main window.
#include "bytes.h"
#include "context/programcontext.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/stationreceiver.h"
#include "receivepath.h"
#include "recordingscreen.h"
#include "sequences/radiotest23.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Fixture
{
    Fixture()
    {
        context.sender.setPort(&port);
        context.receiver.setTarget(&receiver);
        context.station.params.ToolWord = QStringLiteral("00111111");
    }
    ~Fixture() { context.receiver.setTarget(nullptr); }

    void receive(const QByteArray &bytes)
    {
        for (char b : bytes) {
            context.assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
    }

    QTemporaryDir dir;
    FakeClock clock;
    FakeMessages messages;
    FakePort port;
    ProgramContext context { clock, messages, dir.path() + QLatin1Char('/') };
    ShownView stationView; // the posted test is started by hand below
    StationReceiver receiver { context.station, stationView, context.commandBuffer,
        context.sender };
    RecordingScreen screen;
    ScriptedDialogs dialogs;
    RadioTest23 sequence { context, screen, dialogs, screen };
};

} // namespace

class TestRadioTestSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A station's test: shown with the received numbers, its row written after the
    // wait has ended, and finished() once, after the row.
    void stationTestEndsOnceAfterItsRow()
    {
        Fixture f;
        QSignalSpy finished(&f.sequence, &RadioTest23::finished);
        int finishedBeforeRow = -1;
        f.messages.whileShown = [&] {
            finishedBeforeRow = finished.size();
            f.clock.advance(30000);
        };
        {
            QFile foreign(f.dir.path() + QStringLiteral("/Test23.DB"));
            QVERIFY(foreign.open(QIODevice::WriteOnly));
            foreign.write("not a table\n");
        }
        f.receive(Bytes("C9 B0 EC 80 80 80 80 80 80 80 80 ED EE 80 80 80 81 82 83 84 85 EF"));
        f.receive(Bytes("E2 80 80 80 80 80 80 80 83 E3"));
        QCOMPARE(f.stationView.postedTests, QList<int> { 3 });
        f.sequence.Test2();
        QCOMPARE(f.screen.calls,
            (QStringList { "panel 2", "Тест 3|Номер поезда: XXXX|Номер локомотива: 0012345",
                "waiting 115", "verdict 0000000/Тест3:НОРМА/0", "menus on", "ended" }));
        QCOMPARE(f.screen.gridLines, QStringList { QString(52, u'*') });
        QCOMPARE(f.messages.errors.size(), 1);
        QCOMPARE(finishedBeforeRow, 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(f.context.session.runningTest(), 0);
        QCOMPARE(f.context.station.bands.MesD, QStringLiteral("00000")); // reset after the row
    }
};

QTEST_MAIN(TestRadioTestSequence)
#include "tst_radiotestsequence.moc"
