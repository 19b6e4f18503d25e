// Radio test 1 on a recording screen with scripted dialogs.
#include "link/commands.h"
#include "sequencefixture.h"

#include <QTest>

namespace {

// The operator starts radio test 1 and confirms locomotive loco on range.
void start(SequenceFixture &f, const QString &loco, int range)
{
    f.willConfirm(false, QStringLiteral("0000"), loco, range);
    f.radioTest1.ToolButton1Click();
}

} // namespace

class TestRadioTest1 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void completedTest()
    {
        SequenceFixture f;
        f.screen.AddLineWithoutRange(QStringLiteral("старая строка"));
        start(f, QStringLiteral("0012345"), 4);
        QCOMPARE(f.dialogs.askedTests, QList<int> { TestNumber::RadioTest1 });
        QCOMPARE(
            f.takeSent(), Bytes("94 EE 81 80 80 81 82 83 84 85 EF E2 80 80 80 80 80 80 80 86 E3"));
        QVERIFY(f.screen.gridLines.isEmpty());
        QCOMPARE(f.screen.range, 4);
        QCOMPARE(f.screen.calls,
            (QStringList {
                "menus off", "panel 0", "Тестирование РВ по тесту 1|№ локомотива: 0012345|70" }));
        QCOMPARE(f.context.session.runningTest(), TestNumber::RadioTest1);

        f.screen.AddLineWithoutRange(QStringLiteral("Наличие КС"));
        f.receive(Bytes("AB")); // no confirmation: cleared, the test goes on
        f.clock.advance(35000);
        QCOMPARE(f.screen.elapsed, 35);
        QVERIFY(!f.context.station.test.NoConfirmation);
        QVERIFY(f.takeSent().isEmpty());

        f.clock.advance(35000);
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.screen.calls.mid(3), (QStringList { "test 1 ended", "menus on" }));
        QVERIFY(f.screen.gridLines.isEmpty());
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QVERIFY(!f.context.session.busy());
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        QVERIFY(f.rows(Test23Schema()).isEmpty());
    }

    void cancelAfterTenSeconds()
    {
        SequenceFixture f;
        start(f, QStringLiteral("0000001"), 5);
        f.takeSent();
        f.clock.advance(10000);
        f.radioTest1.BitBtn5Click();
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.screen.calls.last(), QStringLiteral("menus on"));
        QVERIFY(!f.radioTest1.running());
        QVERIFY(!f.context.session.busy());
        f.clock.advance(70000);
        QVERIFY(f.takeSent().isEmpty());
    }

    void cancelledDialogSendsNothing()
    {
        SequenceFixture f;
        f.radioTest1.ToolButton1Click();
        QVERIFY(f.takeSent().isEmpty());
        QVERIFY(f.screen.calls.isEmpty());
        QVERIFY(!f.radioTest1.running());
        QVERIFY(!f.context.session.busy());
    }

    void waitAcrossMidnightLastsSeventySeconds()
    {
        SequenceFixture f;
        f.clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30)));
        start(f, QStringLiteral("0000001"), 3);
        f.takeSent();
        f.clock.advance(69000);
        QVERIFY(f.takeSent().isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), Bytes("D0"));
    }
};

QTEST_MAIN(TestRadioTest1)
#include "tst_radiotest1.moc"
