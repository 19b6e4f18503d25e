// The self-test's course on a recording view, without the main window.
#include "bytes.h"
#include "context/programcontext.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/commands.h"
#include "recordingscreen.h"
#include "records/tableschema.h"
#include "sequences/selftestsequence.h"
#include "shared/messageframe.h"
#include "tabletexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Fixture
{
    Fixture() { context.sender.setPort(&port); }

    // The receive side's collecting, without a receiver: the frames go straight in.
    void collect(const QByteArray &frame)
    {
        MessageFrame f;
        f.Code = static_cast<std::uint8_t>(frame.at(0));
        f.Count = static_cast<std::uint8_t>(frame.size() - 2);
        for (int i = 0; i < f.Count; ++i) {
            f.Nibble[i] = static_cast<std::uint8_t>(frame.at(i + 1) & 0x0F);
        }
        f.State = MessageFrame::Complete;
        context.station.test.collect(f);
    }

    QTemporaryDir dir;
    FakeClock clock { QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)) };
    FakeMessages messages;
    FakePort port;
    ProgramContext context { clock, messages, dir.path() + QLatin1Char('/') };
    RecordingScreen screen;
    SelfTestSequence sequence { context, screen, screen };

    // Event, ResultWord and ResultCod of each row of tests1.DB.
    QStringList rows() const
    {
        QStringList out;
        for (const QStringList &row : TableTexts(dir.path() + QLatin1Char('/'), Tests1Schema())) {
            out.append(QStringList { row.at(2), row.at(4), row.at(5) }.join(QLatin1Char('|')));
        }
        return out;
    }
};

const QByteArray SelfTestCommand = Bytes("E2 80 80 80 80 80 80 80 81 E3");

} // namespace

class TestSelfTestSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void courses_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("answerAfterMs");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("rows");
        const QStringList start { "menus off", "panel 1", "waiting 20" };
        QTest::newRow("result") << Bytes("E2 80 80 81 80 80 80 80 81 E3") << 3000 << false
                                << start
                + QStringList { "verdict 0010000/Тест ТЕЛВ:БРАК/1", "menus on", "ended" }
                                << QStringList { "Тест 1|Брак|0010000" };
        QTest::newRow("no answer")
            << QByteArray() << 0 << false
            << start + QStringList { "menus on", "verdict /Нет ответа /1", "ended" }
            << QStringList { "Тест 1|Брак|?" };
        QTest::newRow("cancelled")
            << QByteArray() << 5000 << true << start + QStringList { "panel 0", "menus on" }
            << QStringList();
    }

    void courses()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, answerAfterMs);
        QFETCH(bool, cancel);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, rows);
        Fixture f;
        f.sequence.ITest1Click();
        QCOMPARE(f.port.written, SelfTestCommand);
        QCOMPARE(f.context.session.runningTest(), TestNumber::SelfTest);
        f.clock.advance(answerAfterMs);
        if (cancel) {
            f.sequence.BitBtn3Click();
        }
        if (!answer.isEmpty()) {
            f.collect(answer);
        }
        f.clock.advance(25000);
        QCOMPARE(f.screen.calls, calls);
        QCOMPARE(f.screen.stamp, QStringLiteral("10.12.2026 09:05:07"));
        QCOMPARE(f.context.session.runningTest(), 0);
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QCOMPARE(f.rows(), rows);
    }

    // The error box of a failed row runs the event loop: the wait has ended before
    // it, once.
    void failedRowEndsTheWaitOnce()
    {
        Fixture f;
        {
            QFile foreign(f.dir.path() + QStringLiteral("/tests1.DB"));
            QVERIFY(foreign.open(QIODevice::WriteOnly));
            foreign.write("not a table\n");
        }
        f.messages.whileShown = [&] {
            QVERIFY(!f.sequence.waiting());
            f.clock.advance(30000);
        };
        f.sequence.ITest1Click();
        f.collect(SelfTestCommand);
        f.clock.advance(200);
        QCOMPARE(f.messages.errors.size(), 1);
        QCOMPARE(f.screen.calls.count(QStringLiteral("ended")), 1);
        QCOMPARE(f.screen.calls.count(QStringLiteral("menus on")), 1);
    }
};

QTEST_MAIN(TestSelfTestSequence)
#include "tst_selftestsequence.moc"
