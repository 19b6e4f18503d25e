#include "sim/operatorconsole.h"
#include "sim/simoptions.h"
#include "stationprobe.h"

#include <QSignalSpy>
#include <QTest>

class TestSimConsole : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void faultCommands_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("result"); // pending result nibbles
        QTest::addColumn<bool>("noConfirmation");
        QTest::addColumn<bool>("lastRefused");

        QTest::newRow("position 3") << QStringList { "fault 3" } << "0010000" << false << false;
        QTest::newRow("with a value") << QStringList { "fault 1 9" } << "9000000" << false << false;
        QTest::newRow("hex value written in decimal")
            << QStringList { "fault 7 15" } << "000000F" << false << false;
        QTest::newRow("two faults add up")
            << QStringList { "fault 2", "fault 6 4" } << "0100040" << false << false;
        QTest::newRow("no confirmation") << QStringList { "fault 8" } << "0000000" << true << false;
        QTest::newRow("cleared") << QStringList { "fault 2", "fault 8", "fault 0" } << "0000000"
                                 << false << false;
        QTest::newRow("spaces and case")
            << QStringList { "  FAULT   4  " } << "0001000" << false << false;
        QTest::newRow("position 9") << QStringList { "fault 9" } << "0000000" << false << true;
        QTest::newRow("value 16") << QStringList { "fault 2 16" } << "0000000" << false << true;
        QTest::newRow("no position") << QStringList { "fault" } << "0000000" << false << true;
        QTest::newRow("not a number") << QStringList { "fault x" } << "0000000" << false << true;
        QTest::newRow("too many words")
            << QStringList { "fault 1 2 3" } << "0000000" << false << true;
        QTest::newRow("a refusal keeps what was asked")
            << QStringList { "fault 5", "fault 5 99" } << "0000100" << false << true;
    }

    void faultCommands()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, result);
        QFETCH(bool, noConfirmation);
        QFETCH(bool, lastRefused);

        StationProbe probe;
        OperatorConsole console(probe.station);
        QSignalSpy replies(&console, &OperatorConsole::reply);
        for (const QString &line : lines) {
            console.execute(line);
        }
        QString pending;
        for (auto v : probe.station.pendingFaults().result) {
            pending.append(QString::number(v, 16).toUpper());
        }
        QCOMPARE(pending, result);
        QCOMPARE(probe.station.pendingFaults().noConfirmation, noConfirmation);
        QCOMPARE(replies.size(), lines.size());
        QCOMPARE(replies.last().first().toString().startsWith("fault N"), lastRefused);
    }

    void commandsReachTheStation_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("runMs");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("selftest") << "selftest" << 20000 << QStringList { "C9", "E2", "C0" };
        QTest::newRow("test2") << "test2" << 115000
                               << QStringList { "C9", "A9", "EC", "EE", "E2", "C0" };
        QTest::newRow("test3") << "test3" << 115000
                               << QStringList { "C9", "A9", "EC", "EE", "E2", "C0" };
        QTest::newRow("busy") << "busy" << 1000 << QStringList { "C9" };
        QTest::newRow("free") << "free" << 1000 << QStringList { "C0" };
        QTest::newRow("noise") << "noise" << 1000 << QStringList {};
        QTest::newRow("help") << "help" << 1000 << QStringList {};
        QTest::newRow("unknown") << "reboot" << 1000 << QStringList {};
        QTest::newRow("selftest with a word too many") << "selftest now" << 20000 << QStringList {};
        QTest::newRow("empty line") << "   " << 1000 << QStringList {};
    }

    void commandsReachTheStation()
    {
        QFETCH(QString, line);
        QFETCH(int, runMs);
        QFETCH(QStringList, expected);

        StationProbe probe;
        OperatorConsole console(probe.station);
        QSignalSpy replies(&console, &OperatorConsole::reply);
        console.execute(line);
        probe.run(runMs);
        QVERIFY2(IsSubsequence(expected, probe.names()), qPrintable(probe.names().join(' ')));
        if (expected.isEmpty()) {
            QCOMPARE(probe.names(), QStringList());
        }
        QCOMPARE(replies.size(), line.trimmed().isEmpty() ? 0 : 1);
    }

    void noanswerAndAnswer()
    {
        StationProbe probe;
        OperatorConsole console(probe.station);
        console.execute("noanswer");
        QVERIFY(!probe.station.answering());
        console.execute("answer");
        QVERIFY(probe.station.answering());
    }

    void stationTestRefusedWhileBusy()
    {
        StationProbe probe;
        OperatorConsole console(probe.station);
        QSignalSpy replies(&console, &OperatorConsole::reply);
        console.execute("selftest");
        console.execute("test2");
        probe.run(20000);
        QCOMPARE(probe.frames(0xE2).size(), 1);
        QVERIFY(replies.at(1).first().toString().contains("занята"));
    }

    void quitIsSignalled()
    {
        StationProbe probe;
        OperatorConsole console(probe.station);
        QSignalSpy quit(&console, &OperatorConsole::quitRequested);
        console.execute("quit");
        QCOMPARE(quit.size(), 1);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("speed");
        QTest::addColumn<int>("autoTest");

        QTest::newRow("defaults") << QStringList {} << true << 1.0 << 0;
        QTest::newRow("speed 10") << QStringList { "--speed", "10" } << true << 10.0 << 0;
        QTest::newRow("speed 2.5") << QStringList { "--speed=2.5" } << true << 2.5 << 0;
        QTest::newRow("speed 0") << QStringList { "--speed", "0" } << false << 0.0 << 0;
        QTest::newRow("negative speed") << QStringList { "--speed", "-3" } << false << 0.0 << 0;
        QTest::newRow("speed not a number")
            << QStringList { "--speed", "fast" } << false << 0.0 << 0;
        QTest::newRow("auto-test")
            << QStringList { "--auto-test", "600", "--alarm" } << true << 1.0 << 600;
        QTest::newRow("auto-test 0") << QStringList { "--auto-test", "0" } << false << 0.0 << 0;
        QTest::newRow("auto-test without a value")
            << QStringList { "--auto-test" } << false << 0.0 << 0;
        QTest::newRow("unknown option") << QStringList { "--baud", "9600" } << false << 0.0 << 0;
        QTest::newRow("stray word") << QStringList { "ttyS0" } << false << 0.0 << 0;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        QFETCH(double, speed);
        QFETCH(int, autoTest);

        const ParsedSimOptions parsed = ParseSimOptions(QStringList { "telv2-sim" } + arguments);
        QCOMPARE(parsed.error.isEmpty(), accepted);
        if (accepted) {
            QCOMPARE(parsed.options.speed, speed);
            QCOMPARE(parsed.options.autoTestSeconds, autoTest);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimConsole)
#include "tst_simconsole.moc"
