#include "bytes.h"
#include "console/gauges.h"
#include "console/messagegrid.h"
#include "modaldialog.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "shownlines.h"
#include "tests/radiotest23.h"
#include "tests/radiotestpanel.h"
#include "tests/testparametersdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

// Test23 fields: Date, Time, Event, Direction, Mehanik, Train, Loko, ResultWord, ResultCod, ...
QString rowSummary(const TableRow &row)
{
    const QVariantList &v = row.values;
    return QStringList { v.at(2).toString(), v.at(3).toString(), v.at(5).toString(),
        v.at(6).toString(), v.at(7).toString(), v.at(8).toString() }
        .join(QLatin1Char('/'));
}

QStringList rowSummaries(const QList<TableRow> &rows)
{
    QStringList out;
    for (const TableRow &row : rows) {
        out.append(rowSummary(row));
    }
    return out;
}

// The operator starts test 2 or 3 with a train number (or a locomotive number) and a range.
void start(ProgramFixture &f, int test, const QString &number, int range, bool train = true)
{
    TFTestDlg &dialog = f.program->testDialog();
    WhenOpened(dialog, [&dialog, number, range, train] {
        dialog.RadioGroup1->setCurrentIndex(
            train ? TFTestDlg::TrainNumberKind : TFTestDlg::LocoNumberKind);
        Q_EMIT dialog.RadioGroup1->activated(dialog.RadioGroup1->currentIndex());
        dialog.Edit1->setText(number);
        dialog.ComboBox1->setCurrentIndex(range);
        dialog.BitBtn1->click();
    });
    (test == 2 ? f.ui().ITest2 : f.ui().ITest3)->trigger();
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
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        start(f, 2, QStringLiteral("42"), 0);
        QCOMPARE(
            f.takeSent(), Bytes("90 EC 80 80 80 80 84 82 80 80 ED E2 80 80 80 80 80 80 80 82 E3"));
        RadioTestPanel &panel = *f.ui().Panel5;
        QVERIFY(!panel.isHidden() && f.ui().Panel6->isHidden());
        QCOMPARE(panel.Label19->text(), QStringLiteral("Тест 2 : результаты тестирования"));
        QCOMPARE(panel.Label22->text(), QStringLiteral("№ поезда: 0042"));
        QCOMPARE(panel.Label23->text(), QString());
        QCOMPARE(panel.Label21->text(), QStringLiteral("Результат теста:"));
        QCOMPARE(panel.BitBtn4->text(), QStringLiteral("Отмена"));
        QVERIFY(!panel.Gauge3->isHidden());
        QCOMPARE(panel.Gauge3->maximum(), 115);
        QVERIFY(!f.ui().ITest->isEnabled());
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
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        int savedBeforeRow = -1;
        f.program->radioTest23().SaveReceivedFactoryNumbers
            = [&] { savedBeforeRow = f.rows(Test23Schema()).size(); };
        start(f, test, QStringLiteral("1234567"), 3, false);
        f.takeSent();
        f.clock.advance(4000);
        f.receive(resultFrame(cells.toLatin1().constData(), test));
        f.clock.advance(RadioTest23::PollMs);

        RadioTestPanel &panel = *f.ui().Panel5;
        QCOMPARE(panel.Label20->text(), verdict);
        QCOMPARE(panel.Label21->text(), QStringLiteral("Результат теста: ") + cells);
        QCOMPARE(panel.BitBtn4->text(), QStringLiteral("OK"));
        QCOMPARE(panel.Gauge3->position(), 115);
        QCOMPARE(ShownLines(*panel.RichEdit2),
            ShowRadioTestCode(test, cells, f.context().station.params.ToolWord));
        QCOMPARE(savedBeforeRow, 0);
        QCOMPARE(rowSummaries(f.rows(Test23Schema())),
            QStringList {
                QStringLiteral("Тест %1/От ТЕЛВ/1234/1234567/%2/%3").arg(test).arg(word, cells) });
        QCOMPARE(f.form().grid().lineCount(), 1);
        QCOMPARE(f.ui().StringGrid1->item(0, 2)->text(), QString(52, u'*'));
        QCOMPARE(f.ui().StringGrid1->item(0, 1)->text(), QString());
        QVERIFY(f.ui().ITest->isEnabled());
        QCOMPARE(f.context().station.test.CollectingTest, 0);
        QCOMPARE(f.context().station.bands.MesD, QStringLiteral("00000"));
    }

    void noConfirmationEndsTheWaitAtOnce()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        f.context().station.test.NoConfirmation = true; // left over: cleared at the start
        start(f, 2, QStringLiteral("1"), 3);
        f.clock.advance(1000);
        QVERIFY(f.program->radioTest23().waiting());
        f.clock.advance(4000);
        f.receive(Bytes("B0 AB"));
        f.clock.advance(RadioTest23::PollMs);
        RadioTestPanel &panel = *f.ui().Panel5;
        QCOMPARE(panel.Label20->text(), QStringLiteral("Нет ответа"));
        QCOMPARE(ShownLines(*panel.RichEdit2),
            (ResultLines { { QStringLiteral("Нет ответа"), FaultColour } }));
        const QList<TableRow> rows = f.rows(Test23Schema());
        QCOMPARE(rowSummaries(rows), QStringList { "Тест 2/От ТЕЛВ/0001/1234567/Брак/?" });
        QCOMPARE(rows.value(0).values.value(16).toString(), QStringLiteral("00001")); // MesD
    }

    void timeOutAfter115Seconds()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        start(f, 3, QStringLiteral("1"), 4);
        f.clock.advance(114000);
        QVERIFY(f.rows(Test23Schema()).isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.ui().Panel5->Label20->text(), QStringLiteral("Нет ответа"));
        QCOMPARE(f.rows(Test23Schema()).size(), 1);
    }

    void cancelWritesNoRowAndClears()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        start(f, 2, QStringLiteral("1"), 3);
        f.receive(Bytes("EA 80 83 81 82 83 84 85 86 EB B0"));
        QCOMPARE(f.ui().ELevd->text(), QStringLiteral("12"));
        f.clock.advance(3000);
        f.ui().Panel5->BitBtn4->click();
        f.clock.advance(200000);
        QVERIFY(f.rows(Test23Schema()).isEmpty());
        QVERIFY(f.ui().Panel5->isHidden() && !f.ui().Panel6->isHidden());
        QCOMPARE(f.ui().ELevd->text(), QString());
        QCOMPARE(f.context().station.measurements.DeviacD, QStringLiteral("00"));
        QCOMPARE(f.form().grid().lineCount(), 0);
        QVERIFY(f.ui().ITest->isEnabled());
    }

    void factoryNumbersSurviveTheFreeReportThatFollowsTheResult()
    {
        ProgramFixture f;
        f.receive(Bytes("EE 80 80 80 81 82 83 84 85 EF F8 81 82 83 84 85 86 80 82 F9"));
        // Result and "free" in one piece of traffic, before the posted handler runs.
        f.receive(resultFrame("0000000", 2) + Bytes("C0"));
        QTRY_COMPARE(f.rows(Test23Schema()).size(), 1);
        const QList<TableRow> blocks = f.rows(BlockNumSchema());
        QCOMPARE(blocks.size(), 1);
        QCOMPARE(blocks.first().values.at(0).toString(), QStringLiteral("0012345"));
        QCOMPARE(blocks.first().values.at(1).toString(), QStringLiteral("0000000034560000"));
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
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        f.receive(before);
        const int firstRows = before.contains('\xE2') ? 1 : 0;
        QTRY_COMPARE(f.rows(Test23Schema()).size(), firstRows);
        if (secondFromThePc) {
            start(f, 2, QStringLiteral("99999"), 3, false);
            f.clock.advance(3000);
            f.receive(resultFrame("0000000", 2));
            f.clock.advance(RadioTest23::PollMs);
        } else {
            f.receive(secondFromStation);
        }
        QTRY_COMPARE(f.rows(Test23Schema()).size(), firstRows + 1);
        QCOMPARE(f.rows(Test23Schema()).last().values.at(6).toString(), QStringLiteral("0099999"));
        QStringList stored;
        for (const TableRow &row : f.rows(BlockNumSchema())) {
            stored.append(row.values.at(0).toString());
        }
        QCOMPARE(stored, locomotives);
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
        QTest::newRow("code of a cancelled test") << QByteArray() << true << false << QByteArray()
                                                  << "00000";
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
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        f.receive(idle);
        if (cancelledTestBefore) {
            start(f, 3, QStringLiteral("1"), 3);
            f.receive(Bytes("B0"));
            f.clock.advance(2000);
            f.ui().Panel5->BitBtn4->click();
        }
        if (fromStation) {
            f.receive(Bytes("C9") + during + locoFrame("80 80 80 80 80 80 81"));
            f.receive(resultFrame("0000000", 2));
        } else {
            start(f, 2, QStringLiteral("1"), 3);
            f.receive(during);
            f.clock.advance(3000);
            f.receive(resultFrame("0000000", 2));
            f.clock.advance(RadioTest23::PollMs);
        }
        QTRY_COMPARE(f.rows(Test23Schema()).size(), 1);
        QCOMPARE(f.rows(Test23Schema()).first().values.at(16).toString(), mesD);
    }

    void rangeFieldShowsTheRangeSent()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        f.receive(Bytes("C0")); // free: the station is on ДМВ
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("ДМВ"));
        start(f, 2, QStringLiteral("1"), 4); // the dialog's list stands at МВ2 already
        QCOMPARE(f.takeSent().left(1), Bytes("94"));
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ2"));
    }

    void stationReportsATest3OnItsOwn()
    {
        ProgramFixture f;
        f.receive(Bytes("EC 80 80 80 80 80 80 80 80 ED EE 80 80 80 81 82 83 84 85 EF"));
        f.receive(resultFrame("0000000", 3));
        QTRY_VERIFY(!f.ui().Panel5->isHidden());
        RadioTestPanel &panel = *f.ui().Panel5;
        QCOMPARE(panel.Label19->text(), QStringLiteral("Тест 3"));
        QCOMPARE(panel.Label22->text(), QStringLiteral("Номер поезда: XXXX"));
        QCOMPARE(panel.Label23->text(), QStringLiteral("Номер локомотива: 0012345"));
        QCOMPARE(panel.Label20->text(), QStringLiteral("Тест3:НОРМА"));
        QCOMPARE(rowSummaries(f.rows(Test23Schema())),
            QStringList { "Тест 3/От РВ/0000/0012345/Норма/0000000" });
        QVERIFY(f.takeSent().isEmpty());
    }
};

QTEST_MAIN(TestRadioTest23)
#include "tst_radiotest23.moc"
