#include "bytes.h"
#include "console/gauges.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "shownlines.h"
#include "tests/selftestpanel.h"
#include "tests/selftestsequence.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

const QByteArray SelfTestCommand = Bytes("E2 80 80 80 80 80 80 80 81 E3");

QStringList rowSummaries(const QList<TableRow> &rows)
{
    QStringList out;
    for (const TableRow &row : rows) {
        // Event, ResultWord, ResultCod
        out.append(QStringLiteral("%1/%2/%3")
                       .arg(row.values.at(2).toString(), row.values.at(4).toString(),
                           row.values.at(5).toString()));
    }
    return out;
}

} // namespace

class TestSelfTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void courses_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("answerAfterMs");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("red");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("normal") << SelfTestCommand << 3000 << "Тест ТЕЛВ:НОРМА" << false
                                << "0000000" << QStringList { "Тест 1/Норма/0000000" };
        QTest::newRow("fault in the second cell")
            << Bytes("E2 80 81 80 80 80 80 80 81 E3") << 3000 << "Тест ТЕЛВ:БРАК" << true
            << "0100000" << QStringList { "Тест 1/Брак/0100000" };
        QTest::newRow("no answer")
            << QByteArray() << 0 << "Нет ответа " << true << "" << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("short result frame is ignored")
            << Bytes("E2 80 80 80 81 E3") << 1000 << "Нет ответа " << true << ""
            << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("result of another test is dropped")
            << Bytes("E2 80 80 80 80 80 80 80 82 E3") << 1000 << "Нет ответа " << true << ""
            << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("two results in one pass give two rows")
            << SelfTestCommand + Bytes("E2 80 80 81 80 80 80 80 81 E3") << 19400 << "Тест ТЕЛВ:БРАК"
            << true << "0010000" << QStringList { "Тест 1/Норма/0000000", "Тест 1/Брак/0010000" };
    }

    void courses()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, answerAfterMs);
        QFETCH(QString, verdict);
        QFETCH(bool, red);
        QFETCH(QString, code);
        QFETCH(QStringList, rows);
        ProgramFixture f;
        f.context().station.params.Mehanik = QStringLiteral("12");
        SelfTestPanel &panel = *f.ui().Panel4;

        f.ui().N14->trigger();
        QCOMPARE(f.takeSent(), SelfTestCommand);
        QVERIFY(!f.ui().ITest->isEnabled());
        QVERIFY(!panel.isHidden() && f.ui().Panel6->isHidden());
        QCOMPARE(panel.BitBtn3->text(), QStringLiteral("Отмена"));
        QVERIFY(panel.StatusBar1->currentMessage().startsWith(QStringLiteral("Начат ")));

        f.clock.advance(answerAfterMs);
        QCOMPARE(panel.Gauge2->position(), answerAfterMs / 1000);
        f.receive(answer);
        f.clock.advance(SelfTestSequence::PollMs);
        if (!code.isEmpty()) {
            // A result shows at once, without waiting out the 20 seconds.
            QCOMPARE(panel.Gauge2->position(), 20);
        }
        f.clock.advance(21000);

        QCOMPARE(panel.LResult->text(), verdict);
        QCOMPARE(panel.LResult->palette().color(QPalette::WindowText),
            red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        QCOMPARE(panel.LTest1->text(), code);
        QCOMPARE(panel.BitBtn3->text(), QStringLiteral("OK"));
        QCOMPARE(rowSummaries(f.rows(Tests1Schema())), rows);
        QCOMPARE(f.rows(Tests1Schema()).first().values.at(3).toString(), QStringLiteral("12"));
        QVERIFY(f.ui().ITest->isEnabled());
        QCOMPARE(f.context().station.test.CollectingTest, 0);
        QVERIFY(f.takeSent().isEmpty());

        const ResultLines lines = ShownLines(*panel.RichEdit1);
        if (code.isEmpty()) {
            QCOMPARE(lines, (ResultLines { { QStringLiteral("Нет ответа"), FaultColour } }));
        } else {
            QCOMPARE(lines, ShowSelfTestCode(code));
        }

        panel.BitBtn3->click(); // OK closes the panel
        QVERIFY(panel.isHidden() && !f.ui().Panel6->isHidden());
    }

    void normalResultShowsThirteenBlackLines()
    {
        ProgramFixture f;
        f.ui().N14->trigger();
        f.receive(SelfTestCommand);
        f.clock.advance(SelfTestSequence::PollMs);
        const ResultLines lines = ShownLines(*f.ui().Panel4->RichEdit1);
        QCOMPARE(lines.size(), 13);
        for (const ResultLine &line : lines) {
            QCOMPARE(line.colour, NormalColour);
        }
    }

    void faultLineNamesTheUnit()
    {
        ProgramFixture f;
        f.ui().N14->trigger();
        f.receive(Bytes("E2 80 81 80 80 80 80 80 81 E3"));
        f.clock.advance(SelfTestSequence::PollMs);
        const ResultLines lines = ShownLines(*f.ui().Panel4->RichEdit1);
        QVERIFY(lines.contains(ResultLine { QStringLiteral(" Брак ДЗУ данных"), FaultColour }));
    }

    void cancelAfterFiveSeconds()
    {
        ProgramFixture f;
        f.ui().N14->trigger();
        f.clock.advance(5000);
        f.ui().Panel4->BitBtn3->click();
        QVERIFY(f.ui().Panel4->isHidden());
        QVERIFY(!f.ui().Panel6->isHidden());
        QVERIFY(f.ui().ITest->isEnabled());
        QCOMPARE(f.context().station.test.CollectingTest, 0);
        QVERIFY(!f.program->selfTest().waiting());
        f.clock.advance(30000);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        QVERIFY(f.ui().Panel4->LResult->text().isEmpty());
    }

    void stationReportsASelfTestOnItsOwn()
    {
        ProgramFixture f;
        f.receive(Bytes("E2 80 80 80 80 80 80 80 81 E3"));
        QTRY_VERIFY(!f.ui().Panel4->isHidden()); // the queued Test1
        QCOMPARE(f.ui().Panel4->LResult->text(), QStringLiteral("Тест ТЕЛВ:НОРМА"));
        QCOMPARE(rowSummaries(f.rows(Tests1Schema())), QStringList { "Тест 1/Норма/0000000" });
        QVERIFY(f.takeSent().isEmpty()); // nothing is sent for it
    }

    void waitAcrossMidnightLastsTwentySeconds()
    {
        ProgramFixture f;
        f.clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 50)));
        f.ui().N14->trigger();
        f.clock.advance(19000);
        QCOMPARE(f.ui().Panel4->Gauge2->position(), 19);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.ui().Panel4->LResult->text(), QStringLiteral("Нет ответа "));
        QCOMPARE(f.rows(Tests1Schema()).size(), 1);
    }

    // The start stamp: the short date and the system's long time, seconds included,
    // without the time zone the locale's long form may carry.
    void startStamp_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("Russian") << "ru_RU" << "Начат 10.12.2026 10:00:00";
        QTest::newRow("American") << "en_US" << "Начат 12/10/26 10:00:00 AM";
    }

    void startStamp()
    {
        QFETCH(QString, locale);
        QFETCH(QString, stamp);
        QLocale::setDefault(QLocale(locale));
        ProgramFixture f;
        f.ui().N14->trigger();
        const QString shown = f.ui().Panel4->StatusBar1->currentMessage();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(shown, stamp);
    }

    void failedSendStillWaits()
    {
        ProgramFixture f;
        f.port.open = false;
        f.ui().N14->trigger();
        f.clock.advance(500);
        QCOMPARE(f.messages.errors, QStringList { QStringLiteral("Ошибка передачи!") });
        f.clock.advance(20000);
        QCOMPARE(f.ui().Panel4->LResult->text(), QStringLiteral("Нет ответа "));
    }
};

QTEST_MAIN(TestSelfTest)
#include "tst_selftest.moc"
