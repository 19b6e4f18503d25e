// The self-test's and the radio tests' panels show a wait's course as they are told.
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "shared/resulttext.h"
#include "shownlines.h"
#include "widgets/gauges.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

class TestResultPanels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selfTestPanel_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("fault");
        QTest::newRow("normal") << "0000000"
                                << "Тест ТЕЛВ:НОРМА" << false;
        QTest::newRow("fault") << "0100000"
                               << "Тест ТЕЛВ:БРАК" << true;
        QTest::newRow("no answer") << ""
                                   << "Нет ответа " << true;
    }

    void selfTestPanel()
    {
        QFETCH(QString, code);
        QFETCH(QString, verdict);
        QFETCH(bool, fault);
        SelfTestPanel panel;
        panel.showWaiting(QStringLiteral("10.12.2026 10:00:00"), 20);
        QCOMPARE(panel.BitBtn3->text(), QStringLiteral("Отмена"));
        QCOMPARE(panel.StatusBar1->currentMessage(), QStringLiteral("Начат 10.12.2026 10:00:00"));
        QCOMPARE(panel.Gauge2->maximum(), 20);
        panel.showElapsed(6);
        QCOMPARE(panel.Gauge2->position(), 6);

        const ResultLines lines = ShowSelfTestCode(code.isEmpty() ? u"?" : QStringView(code));
        panel.showVerdict(code, verdict, fault, lines);
        panel.showEnded();
        QCOMPARE(panel.LResult->text(), verdict);
        QCOMPARE(panel.LResult->palette().color(QPalette::WindowText),
            fault ? QColor(255, 0, 0) : QColor(0, 0, 0));
        QCOMPARE(panel.LTest1->text(), code);
        QCOMPARE(ShownLines(*panel.RichEdit1), lines);
        QCOMPARE(panel.BitBtn3->text(), QStringLiteral("OK"));
        QCOMPARE(panel.Gauge2->position(), 20);

        // The next wait begins empty.
        panel.showWaiting(QStringLiteral("10.12.2026 11:00:00"), 20);
        QVERIFY(panel.LResult->text().isEmpty() && panel.LTest1->text().isEmpty());
        QVERIFY(ShownLines(*panel.RichEdit1).isEmpty());
    }

    void radioTestPanel()
    {
        RadioTestPanel panel;
        QVERIFY(panel.Gauge3->isHidden()); // until the first radio test
        panel.clearResult();
        panel.showTest(QStringLiteral("Тест 2 : результаты тестирования"),
            QStringLiteral("№ поезда: 0042"), QString());
        panel.showWaiting(QStringLiteral("10.12.2026 10:00:00"), 115);
        QCOMPARE(panel.Label19->text(), QStringLiteral("Тест 2 : результаты тестирования"));
        QCOMPARE(panel.Label22->text(), QStringLiteral("№ поезда: 0042"));
        QCOMPARE(panel.Label23->text(), QString());
        QCOMPARE(panel.Label21->text(), QStringLiteral("Результат теста:"));
        QCOMPARE(panel.BitBtn4->text(), QStringLiteral("Отмена"));
        QVERIFY(!panel.Gauge3->isHidden());
        QCOMPARE(panel.Gauge3->maximum(), 115);
        QCOMPARE(panel.StatusBar2->currentMessage(), QStringLiteral("Начат 10.12.2026 10:00:00"));

        panel.showElapsed(115);
        const ResultLines lines = ShowRadioTestCode(2, u"0001000", QStringLiteral("00111111"));
        panel.showVerdict(QStringLiteral("0001000"), QStringLiteral("Тест2:БРАК"), true, lines);
        panel.showEnded();
        QCOMPARE(panel.Label20->text(), QStringLiteral("Тест2:БРАК"));
        QCOMPARE(panel.Label21->text(), QStringLiteral("Результат теста: 0001000"));
        QCOMPARE(ShownLines(*panel.RichEdit2), lines);
        QCOMPARE(panel.Gauge3->position(), 115);
        QCOMPARE(panel.BitBtn4->text(), QStringLiteral("OK"));

        // "Нет ответа" has no code: the code line stays as it was.
        panel.clearResult();
        panel.showVerdict(QString(), QStringLiteral("Нет ответа"), true, {});
        QCOMPARE(panel.Label21->text(), QStringLiteral("Результат теста:"));
        QCOMPARE(panel.Label20->text(), QStringLiteral("Нет ответа"));
    }
};

QTEST_MAIN(TestResultPanels)
#include "tst_resultpanels.moc"
