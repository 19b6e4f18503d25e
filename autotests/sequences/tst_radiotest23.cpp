// Radio tests 2 and 3 on a recording screen with scripted dialogs: started from the PC
// or reported by the station, their verdicts, rows, factory numbers and band flags.
#include "sequencefixture.h"

#include <QTest>

namespace {

// Test23 fields: Date, Time, Event, Direction, Mehanik, Train, Loko, ResultWord, ResultCod, ...
QStringList rowSummaries(const QList<QStringList> &rows)
{
    QStringList out;
    for (const QStringList &v : rows) {
        out.append(QStringList { v.at(2), v.at(3), v.at(5), v.at(6), v.at(7), v.at(8) }.join(
            QLatin1Char('/')));
    }
    return out;
}

// The operator starts test 2 or 3 with the numbers (the train's sent, or the
// locomotive's) and a range, as the dialog pads them.
void start(SequenceFixture &f, int test, const QString &train, const QString &loco, int range,
    bool trainKind = true)
{
    f.willConfirm(trainKind, train, loco, range);
    if (test == 2) {
        f.radioTest.ITest2Click();
    } else {
        f.radioTest.ITest3Click();
    }
}

const QByteArray FactoryNumberFrame = Bytes("F8 81 82 83 84 85 86 80 82 F9"); // block 12: 3456

QByteArray locoFrame(const char *sevenNibbles)
{
    return Bytes("EE 80") + Bytes(sevenNibbles) + Bytes("EF");
}

QByteArray resultFrame(const char *cells, int test)
{
    QByteArray frame = Bytes("E2");
    for (int i = 0; i < 7; ++i) {
        frame.append(static_cast<char>(0x80 | (cells[i] - '0')));
    }
    frame.append(static_cast<char>(0x80 | test));
    frame.append('\xE3');
    return frame;
}

} // namespace

class TestRadioTest23 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void commandOfTest2FromThePc()
    {
        SequenceFixture f;
        start(f, 2, QStringLiteral("0042"), QStringLiteral("1234567"), 0);
        QCOMPARE(f.dialogs.askedTests, QList<int> { 2 });
        QCOMPARE(
            f.takeSent(), Bytes("90 EC 80 80 80 80 84 82 80 80 ED E2 80 80 80 80 80 80 80 82 E3"));
        QCOMPARE(f.screen.calls,
            (QStringList { "cleared", "panel 2", "Тест 2 : результаты тестирования|№ поезда: 0042|",
                "menus off", "waiting 115" }));
        QCOMPARE(f.context.session.runningTest(), 2);
    }

    void verdicts_data()
    {
        QTest::addColumn<int>("test");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("word");
        QTest::newRow("test 2 all normal") << 2 << "0000000"
                                           << "Тест2:НОРМА"
                                           << "Норма";
        QTest::newRow("test 2 ignores cell 6") << 2 << "0000005"
                                               << "Тест2:НОРМА"
                                               << "Норма";
        QTest::newRow("test 2 deviation fault") << 2 << "0001000"
                                                << "Тест2:БРАК"
                                                << "Брак";
        QTest::newRow("test 3 own code counts") << 3 << "0000005"
                                                << "Тест3:БРАК"
                                                << "Брак";
        QTest::newRow("test 3 ignores deviations") << 3 << "0001110"
                                                   << "Тест3:НОРМА"
                                                   << "Норма";
        QTest::newRow("test 3 band fault") << 3 << "0200000"
                                           << "Тест3:БРАК"
                                           << "Брак";
    }

    void verdicts()
    {
        QFETCH(int, test);
        QFETCH(QString, cells);
        QFETCH(QString, verdict);
        QFETCH(QString, word);
        SequenceFixture f;
        int savedBeforeRow = -1;
        f.radioTest.SaveReceivedFactoryNumbers = [&](ReceivedFactoryDigits &, const QString &) {
            savedBeforeRow = f.rows(Test23Schema()).size();
        };
        start(f, test, QStringLiteral("1234"), QStringLiteral("1234567"), 3, false);
        f.takeSent();
        f.clock.advance(4000);
        f.receive(resultFrame(cells.toLatin1().constData(), test));
        f.clock.advance(RadioTest23::PollMs);

        QCOMPARE(f.screen.calls.mid(5),
            (QStringList {
                QStringLiteral("verdict %1/%2/%3").arg(cells, verdict).arg(word == "Брак"),
                "menus on", "ended" }));
        QCOMPARE(f.screen.elapsed, 115);
        QCOMPARE(f.screen.lines, ShowRadioTestCode(test, cells, f.context.station.params.ToolWord));
        QCOMPARE(savedBeforeRow, 0);
        QCOMPARE(rowSummaries(f.rows(Test23Schema())),
            QStringList {
                QStringLiteral("Тест %1/От ТЕЛВ/1234/1234567/%2/%3").arg(test).arg(word, cells) });
        QCOMPARE(f.screen.gridLines, QStringList { QString(52, u'*') });
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QVERIFY(!f.context.session.busy());
        QCOMPARE(f.context.station.bands.MesD, QStringLiteral("00000"));
    }

    void noConfirmationEndsTheWaitAtOnce()
    {
        SequenceFixture f;
        f.context.station.test.NoConfirmation = true; // left over: cleared at the start
        start(f, 2, QStringLiteral("0001"), QStringLiteral("1234567"), 3);
        f.clock.advance(1000);
        QVERIFY(f.radioTest.waiting());
        f.clock.advance(4000);
        f.receive(Bytes("B0 AB"));
        f.clock.advance(RadioTest23::PollMs);
        QCOMPARE(
            f.screen.calls.mid(5), (QStringList { "menus on", "ended", "verdict /Нет ответа/1" }));
        QCOMPARE(f.screen.lines, (ResultLines { { QStringLiteral("Нет ответа"), FaultColour } }));
        const QList<QStringList> rows = f.rows(Test23Schema());
        QCOMPARE(rowSummaries(rows), QStringList { "Тест 2/От ТЕЛВ/0001/1234567/Брак/?" });
        QCOMPARE(rows.value(0).value(16), QStringLiteral("00001")); // MesD
    }

    void timeOutAfter115Seconds()
    {
        SequenceFixture f;
        start(f, 3, QStringLiteral("0001"), QStringLiteral("0000001"), 4);
        f.clock.advance(114000);
        QVERIFY(f.rows(Test23Schema()).isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.screen.calls.last(), QStringLiteral("verdict /Нет ответа/1"));
        QCOMPARE(f.rows(Test23Schema()).size(), 1);
    }

    void cancelWritesNoRowAndClears()
    {
        SequenceFixture f;
        start(f, 2, QStringLiteral("0001"), QStringLiteral("0000001"), 3);
        f.receive(Bytes("EA 80 83 81 82 83 84 85 86 EB B0"));
        QCOMPARE(f.context.station.measurements.DeviacD, QStringLiteral("12"));
        f.screen.AddLineWithoutRange(QStringLiteral("Наличие КС"));
        f.clock.advance(3000);
        f.radioTest.BitBtn4Click();
        f.clock.advance(200000);
        QVERIFY(f.rows(Test23Schema()).isEmpty());
        QCOMPARE(f.screen.calls.mid(5), (QStringList { "panel 0", "menus on" }));
        QCOMPARE(f.context.station.measurements.DeviacD, QStringLiteral("00"));
        QVERIFY(f.screen.gridLines.isEmpty());
        QVERIFY(!f.context.session.busy());
    }

    void factoryNumbersSurviveTheFreeReportThatFollowsTheResult()
    {
        SequenceFixture f;
        f.receive(Bytes("EE 80 80 80 81 82 83 84 85 EF F8 81 82 83 84 85 86 80 82 F9"));
        // Result and "free" in one piece of traffic, before the posted handler runs.
        f.receive(resultFrame("0000000", 2) + Bytes("C0"));
        QCOMPARE(f.rows(Test23Schema()).size(), 1);
        const QList<QStringList> blocks = f.rows(BlockNumSchema());
        QCOMPARE(blocks.size(), 1);
        QCOMPARE(blocks.first().at(0), QStringLiteral("0012345"));
        QCOMPARE(blocks.first().at(1), QStringLiteral("0000000034560000"));
    }

    // The factory numbers belong to the test during which they came: a later test
    // without any writes nothing to BlockNum.DB, also when no "free" report came between.
    void factoryNumbersBelongToTheirTest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("secondFromThePc");
        QTest::addColumn<QByteArray>("secondFromStation");
        QTest::addColumn<QStringList>("locomotives");
        const QByteArray firstTest
            = locoFrame("80 80 81 82 83 84 85") + FactoryNumberFrame + resultFrame("0000000", 2);
        const QByteArray secondTest = locoFrame("80 80 89 89 89 89 89") + resultFrame("0000000", 2);
        QTest::newRow("station's test after one with numbers")
            << firstTest << false << Bytes("C9") + secondTest << QStringList { "0012345" };
        QTest::newRow("station's test without the busy report")
            << firstTest << false << secondTest << QStringList { "0012345" };
        QTest::newRow("operator's test after the station's")
            << firstTest << true << QByteArray() << QStringList { "0012345" };
        QTest::newRow("numbers that came while no test ran")
            << FactoryNumberFrame << false << Bytes("C9") + secondTest << QStringList();
    }

    void factoryNumbersBelongToTheirTest()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, secondFromThePc);
        QFETCH(QByteArray, secondFromStation);
        QFETCH(QStringList, locomotives);
        SequenceFixture f;
        f.receive(before);
        const int firstRows = before.contains('\xE2') ? 1 : 0;
        QCOMPARE(f.rows(Test23Schema()).size(), firstRows);
        if (secondFromThePc) {
            start(f, 2, QStringLiteral("0000"), QStringLiteral("0099999"), 3, false);
            f.clock.advance(3000);
            f.receive(resultFrame("0000000", 2));
            f.clock.advance(RadioTest23::PollMs);
        } else {
            f.receive(secondFromStation);
        }
        QCOMPARE(f.rows(Test23Schema()).size(), firstRows + 1);
        QCOMPARE(f.rows(Test23Schema()).last().at(6), QStringLiteral("0099999"));
        QStringList stored;
        for (const QStringList &row : f.rows(BlockNumSchema())) {
            stored.append(row.at(0));
        }
        QCOMPARE(stored, locomotives);
    }

    // Saving a radio test's factory numbers may show a box, whose event loop hands on
    // the station's next test: the row and the numbers stay the first test's.
    void nextTestInsideABoxOfTheRecording()
    {
        SequenceFixture f;
        QString savedFor;
        f.radioTest.SaveReceivedFactoryNumbers
            = [&](ReceivedFactoryDigits &digits, const QString &locoNumber) {
                  savedFor = locoNumber;
                  QVERIFY(HasFactoryDigits(digits));
                  f.receive(Bytes("C9") + locoFrame("80 80 89 89 89 89 89") + Bytes("B0"));
              };
        f.receive(locoFrame("80 80 81 82 83 84 85") + FactoryNumberFrame + Bytes("B1")
            + resultFrame("0000000", 2));

        QCOMPARE(savedFor, QStringLiteral("0012345"));
        const QList<QStringList> rows = f.rows(Test23Schema());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rowSummaries(rows), QStringList { "Тест 2/От РВ/1234/0012345/Норма/0000000" });
        QCOMPARE(rows.first().at(Test23Schema().fieldIndex("MesD")), QStringLiteral("00010"));
    }

    // The band message flags of a row are those the station reported during its test.
    void bandFlagsBelongToTheirTest_data()
    {
        QTest::addColumn<QByteArray>("idle");
        QTest::addColumn<bool>("cancelledTestBefore");
        QTest::addColumn<bool>("fromStation");
        QTest::addColumn<QByteArray>("during");
        QTest::addColumn<QString>("mesD");
        QTest::newRow("idle code before the operator's test")
            << Bytes("B0") << false << false << QByteArray() << "00000";
        QTest::newRow("idle code before the station's test")
            << Bytes("B0") << false << true << QByteArray() << "00000";
        QTest::newRow("code of a cancelled test")
            << QByteArray() << true << false << QByteArray() << "00000";
        QTest::newRow("code during the operator's test")
            << Bytes("B0") << false << false << Bytes("B1") << "00010";
        QTest::newRow("code during the station's test")
            << Bytes("B1") << false << true << Bytes("B0") << "00001";
    }

    void bandFlagsBelongToTheirTest()
    {
        QFETCH(QByteArray, idle);
        QFETCH(bool, cancelledTestBefore);
        QFETCH(bool, fromStation);
        QFETCH(QByteArray, during);
        QFETCH(QString, mesD);
        SequenceFixture f;
        f.receive(idle);
        if (cancelledTestBefore) {
            start(f, 3, QStringLiteral("0001"), QStringLiteral("0000001"), 3);
            f.receive(Bytes("B0"));
            f.clock.advance(2000);
            f.radioTest.BitBtn4Click();
        }
        if (fromStation) {
            f.receive(Bytes("C9") + during + locoFrame("80 80 80 80 80 80 81"));
            f.receive(resultFrame("0000000", 2));
        } else {
            start(f, 2, QStringLiteral("0001"), QStringLiteral("0000001"), 3);
            f.receive(during);
            f.clock.advance(3000);
            f.receive(resultFrame("0000000", 2));
            f.clock.advance(RadioTest23::PollMs);
        }
        QCOMPARE(f.rows(Test23Schema()).size(), 1);
        QCOMPARE(f.rows(Test23Schema()).first().at(16), mesD);
    }

    void rangeShownIsTheRangeSent()
    {
        SequenceFixture f;
        f.receive(Bytes("C0")); // free: the station is on ДМВ
        QCOMPARE(f.context.station.CurrentRange, 0);
        start(f, 2, QStringLiteral("0001"), QStringLiteral("0000001"), 4);
        QCOMPARE(f.takeSent().left(1), Bytes("94"));
        QCOMPARE(f.screen.range, 4);
        QCOMPARE(f.context.station.CurrentRange, 4);
    }

    void stationReportsATest3OnItsOwn()
    {
        SequenceFixture f;
        f.receive(Bytes("EC 80 80 80 80 80 80 80 80 ED EE 80 80 80 81 82 83 84 85 EF"));
        f.receive(resultFrame("0000000", 3));
        QCOMPARE(f.screen.calls,
            (QStringList { "panel 2", "Тест 3|Номер поезда: XXXX|Номер локомотива: 0012345",
                "waiting 115", "verdict 0000000/Тест3:НОРМА/0", "menus on", "ended" }));
        QCOMPARE(rowSummaries(f.rows(Test23Schema())),
            QStringList { "Тест 3/От РВ/0000/0012345/Норма/0000000" });
        QVERIFY(f.takeSent().isEmpty());
        QVERIFY(f.dialogs.askedTests.isEmpty());
    }
};

QTEST_MAIN(TestRadioTest23)
#include "tst_radiotest23.moc"
