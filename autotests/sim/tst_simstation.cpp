#include "bytes.h"
#include "link/commandbuffer.h"
#include "link/commands.h"
#include "link/ranges.h"
#include "params/parametermessages.h"
#include "shared/stationparameters.h"
#include "stationprobe.h"

#include <QTest>

#include <functional>

namespace {

QByteArray Command(const std::function<void(CommandBuffer &)> &build)
{
    CommandBuffer buffer;
    build(buffer);
    return BufferBytes(buffer);
}

QByteArray RadioTestCommand(int test, int range, bool byTrain, const QString &number)
{
    return Command([&](CommandBuffer &b) {
        AppendRangeByte(b, range);
        if (byTrain) {
            AppendTrainNumberFrame(b, number);
        } else {
            AppendLocoNumberFrame(b, number);
        }
        AppendTestStartFrame(b, test);
    });
}

QByteArray TestStart(int test)
{
    return Command([&](CommandBuffer &b) { AppendTestStartFrame(b, test); });
}

const QByteArray Reset = Bytes("D0");

// The status codes that belong to each band's test steps: its transmitter keyed,
// the signals heard, the transmitter released.
const QStringList DmvSteps { "A0", "B1", "B2", "B0", "A3" };
const QStringList MvSteps { "A1", "B5", "B6", "B3", "A4" };
const QStringList GmvSteps { "A2", "B7", "B8", "B4", "A5" };

struct Sensitivity
{
    int mvVerdict, mvAttenuation, gmvVerdict, gmvAttenuation;
};

Sensitivity SensitivityOf(const MessageFrame &f)
{
    return { f.Nibble[2], f.Nibble[3] * 10 + f.Nibble[4], f.Nibble[5],
        f.Nibble[6] * 10 + f.Nibble[7] };
}

QList<ReceivedUnit> MeasurementFrames(const StationProbe &probe, int subCode)
{
    QList<ReceivedUnit> out;
    for (const ReceivedUnit &unit : probe.frames(0xEA)) {
        if (unit.frame.Nibble[1] == subCode) {
            out.append(unit);
        }
    }
    return out;
}

} // namespace

class TestSimStation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyCommandIsAnsweredWithWholeFrames_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("runMs");
        QTest::addColumn<QStringList>("expected"); // in this order, others between

        QTest::newRow("reset") << Reset << 5000
                               << QStringList { "C0", "E8", "EA", "EA", "EA", "E4", "E4", "E4",
                                      "E4", "F6" };
        QTest::newRow("self-test") << TestStart(TestNumber::SelfTest) << 20000
                                   << QStringList { "C9", "CB", "CB", "E2", "C0" };
        QTest::newRow("radio test 1")
            << RadioTestCommand(TestNumber::RadioTest1, RangeMV2, false, "0012345") << 70000
            << QStringList { "C9", "A9", "EC", "EE", "CC", "94", "A1", "BE", "EA" };
        QTest::newRow("radio test 2 by train")
            << RadioTestCommand(TestNumber::RadioTest2, RangeDMV, true, "1234") << 115000
            << QStringList { "C9", "A9", "EC", "EE", "CC", "90", "A0", "BA", "A3", "F8", "EA", "EA",
                   "E2", "C0" };
        QTest::newRow("radio test 3 by locomotive")
            << RadioTestCommand(TestNumber::RadioTest3, RangeGMV1, false, "0012345") << 115000
            << QStringList { "C9", "A9", "EC", "EE", "CC", "91", "A2", "BF", "A5", "F8", "EA", "E2",
                   "C0" };
        QTest::newRow("call 1") << Bytes("93 D1") << 5000 << QStringList { "93", "A1", "C7", "A4" };
        QTest::newRow("call 2") << Bytes("91 D2") << 5000 << QStringList { "91", "A2", "C8", "A5" };
        QTest::newRow("technological mode 1")
            << TestStart(TestNumber::TechMode1) << 5000 << QStringList { "C9", "EA", "EA", "EA" };
        QTest::newRow("technological mode 2")
            << TestStart(TestNumber::TechMode2) << 5000 << QStringList { "C9", "EA", "EA", "EA" };
        QTest::newRow("special mode start") << Command([](CommandBuffer &b) {
            AppendTrainNumberFrame(b, u"0001");
            AppendLocoNumberFrame(b, u"0000002");
            AppendInfoFrame(b, u"12345678");
        }) << 10000 << QStringList { "C9", "F0", "F2", "F0", "F2" };

        // Commands that change what the station holds answer nothing at once.
        const StationParameters params;
        QTest::newRow("attenuation correction")
            << Command([](CommandBuffer &b) { AppendAttenuationCorrectionFrame(b, 12, 7); }) << 5000
            << QStringList {};
        QTest::newRow("service word")
            << Command([&](CommandBuffer &b) { AppendServiceWordMessage(b, params); }) << 5000
            << QStringList {};
        QTest::newRow("deviation thresholds") << Command([&](CommandBuffer &b) {
            AppendUpperThresholdsMessage(b, params);
            AppendLowerThresholdsMessage(b, params);
        }) << 5000 << QStringList {};
        QTest::newRow("channels of group 3")
            << Command([&](CommandBuffer &b) { AppendChannelsMessage(b, params, 3); }) << 5000
            << QStringList {};
        QTest::newRow("sensitivity parameters")
            << Command([&](CommandBuffer &b) { AppendSensitivityMessage(b, params); }) << 5000
            << QStringList {};
        QTest::newRow("all parameters")
            << Command([&](CommandBuffer &b) { AppendAllParameterMessages(b, params); }) << 5000
            << QStringList {};
    }

    void everyCommandIsAnsweredWithWholeFrames()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, runMs);
        QFETCH(QStringList, expected);

        StationProbe probe;
        probe.send(command);
        probe.run(runMs);

        QCOMPARE(FramingProblem(probe.raw), QString());
        QVERIFY2(IsSubsequence(expected, probe.names()), qPrintable(probe.names().join(' ')));
        if (expected.isEmpty()) {
            QCOMPARE(probe.names(), QStringList());
        }
        // Whatever ran, the reset still brings the station back.
        probe.clear();
        probe.send(Reset);
        probe.run(3000);
        QVERIFY(IsSubsequence({ "C0", "E8", "F6" }, probe.names()));
        QCOMPARE(FramingProblem(probe.raw), QString());
    }

    void parameterMessagesAreReportedBackAfterTheNextReset_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QList<QByteArray>>("reported");

        StationParameters params;
        params.ToolWord = "30512341";
        params.DeviacD = "12";
        params.DeviacM = "34";
        params.DeviacG = "56";
        params.Deviacd2 = "01";
        params.DeviacM2 = "02";
        params.DeviacG2 = "03";
        params.reserv = "45";
        params.Osl_mw = "07";
        params.osl_gmw = "10";
        params.PrmMv2 = "123";
        params.PrdMv2 = "045";
        const auto message
            = [&](const std::function<void(CommandBuffer &)> &build) { return Command(build); };
        const QByteArray serviceWord
            = message([&](CommandBuffer &b) { AppendServiceWordMessage(b, params); });
        const QByteArray upper
            = message([&](CommandBuffer &b) { AppendUpperThresholdsMessage(b, params); });
        const QByteArray lower
            = message([&](CommandBuffer &b) { AppendLowerThresholdsMessage(b, params); });
        const QByteArray sensitivity
            = message([&](CommandBuffer &b) { AppendSensitivityMessage(b, params); });
        const QByteArray group2
            = message([&](CommandBuffer &b) { AppendChannelsMessage(b, params, 2); });

        QTest::newRow("service word") << serviceWord << QList<QByteArray> { serviceWord };
        QTest::newRow("thresholds") << upper + lower << QList<QByteArray> { upper, lower };
        QTest::newRow("sensitivity") << sensitivity << QList<QByteArray> { sensitivity };
        QTest::newRow("channels of group 2") << group2 << QList<QByteArray> { group2 };
        QTest::newRow("all parameters with gaps")
            << message([&](CommandBuffer &b) { AppendAllParameterMessages(b, params); })
            << QList<QByteArray> { serviceWord, upper, lower, sensitivity, group2 };
        // A fourth group only the station itself has; the PC never sends it, but
        // the station takes it like the others.
        QTest::newRow("channels of group 4")
            << Bytes("E4 80 84 89 88 87 86 85 84 E5")
            << QList<QByteArray> { Bytes("E4 80 84 89 88 87 86 85 84 E5") };
    }

    void parameterMessagesAreReportedBackAfterTheNextReset()
    {
        QFETCH(QByteArray, message);
        QFETCH(QList<QByteArray>, reported);

        StationProbe probe;
        probe.send(Reset);
        probe.run(3000);
        const QByteArray before = probe.raw;
        for (const QByteArray &frame : reported) {
            QVERIFY(!before.contains(frame));
        }

        probe.clear();
        probe.send(message);
        probe.run(3000);
        QCOMPARE(probe.raw, QByteArray());

        probe.send(Reset);
        probe.run(3000);
        for (const QByteArray &frame : reported) {
            QVERIFY2(probe.raw.contains(frame), frame.toHex(' ').constData());
        }
        // Each part is still reported once, in its place: 0xE8, three 0xEA, four 0xE4, 0xF6.
        QCOMPARE(probe.names(),
            QStringList({ "C0", "E8", "EA", "EA", "EA", "E4", "E4", "E4", "E4", "F6" }));
    }

    void damagedParameterMessagesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("service word with seven nibbles") << Bytes("E8 83 80 85 81 82 83 84 E9");
        QTest::newRow("thresholds sub-code 6") << Bytes("EA 80 86 81 82 83 84 85 86 EB");
        QTest::newRow("channels group 5") << Bytes("E4 80 85 81 82 83 84 85 86 E5");
        QTest::newRow("channels group 0") << Bytes("E4 80 80 81 82 83 84 85 86 E5");
        QTest::newRow("cut by another frame") << Bytes("E8 83 80 85 EA 80 80 E8 E9");
    }

    void damagedParameterMessagesChangeNothing()
    {
        QFETCH(QByteArray, message);
        StationProbe probe;
        probe.send(Reset);
        probe.run(3000);
        const QByteArray before = probe.raw;

        probe.clear();
        probe.send(message + Reset);
        probe.run(3000);
        QCOMPARE(probe.raw, before);
    }

    void selfTestReportsItsResultWithinTwentySeconds_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QStringList>("fault"); // position, value
        QTest::addColumn<QString>("cells");
        QTest::addColumn<int>("limitMs");

        QTest::newRow("normal") << 1.0 << QStringList {} << "00000001" << 20000;
        QTest::newRow("ДЗУ данных") << 1.0 << QStringList { "2", "1" } << "01000001" << 20000;
        QTest::newRow("ОЗУ") << 1.0 << QStringList { "1", "9" } << "90000001" << 20000;
        QTest::newRow("tones МВ") << 1.0 << QStringList { "7", "3" } << "00000031" << 20000;
        QTest::newRow("ten times faster") << 10.0 << QStringList {} << "00000001" << 2000;
    }

    void selfTestReportsItsResultWithinTwentySeconds()
    {
        QFETCH(double, speed);
        QFETCH(QStringList, fault);
        QFETCH(QString, cells);
        QFETCH(int, limitMs);

        StationProbe probe({ speed, false });
        if (!fault.isEmpty()) {
            QVERIFY(probe.station.injectFault(fault[0].toInt(), fault[1].toInt()));
        }
        probe.send(TestStart(TestNumber::SelfTest));
        probe.run(limitMs);

        const QList<ReceivedUnit> results = probe.frames(0xE2);
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].frame.Count, 8);
        QCOMPARE(Cells(results[0].frame), cells);
        QVERIFY(results[0].atMs >= 1000 / speed); // after a few seconds, not at once
        QVERIFY(IsSubsequence({ "C9", "CB", "E2" }, probe.names()));
        QCOMPARE(probe.statuses(0xCB).size(), 10);

        probe.run(limitMs);
        QCOMPARE(probe.names().last(), QString("C0"));

        // The fault was for one test: the next one is normal.
        probe.clear();
        probe.send(TestStart(TestNumber::SelfTest));
        probe.run(limitMs);
        QCOMPARE(Cells(probe.frames(0xE2).value(0).frame), QString("00000001"));
    }

    void radioTestReportsItsResultWithinTheLimit_data()
    {
        QTest::addColumn<int>("test");
        QTest::addColumn<int>("range");
        QTest::addColumn<bool>("byTrain");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("faultPosition");
        QTest::addColumn<QString>("cells");

        QTest::newRow("test 2 on МВ2 by train")
            << 2 << int(RangeMV2) << true << "0042" << 0 << "00000002";
        QTest::newRow("test 2 with a faulty МВ")
            << 2 << int(RangeMV2) << false << "0012345" << 2 << "01000002";
        QTest::newRow("test 2 with a faulty ДМВ deviation")
            << 2 << int(RangeDMV) << false << "7654321" << 4 << "00010002";
        QTest::newRow("test 3 on ГМВ2 by locomotive")
            << 3 << int(RangeGMV2) << false << "0012345" << 0 << "00000003";
        QTest::newRow("test 3 with the radio's test-1 code")
            << 3 << int(RangeMV1) << true << "1234" << 7 << "00000013";
    }

    void radioTestReportsItsResultWithinTheLimit()
    {
        QFETCH(int, test);
        QFETCH(int, range);
        QFETCH(bool, byTrain);
        QFETCH(QString, number);
        QFETCH(int, faultPosition);
        QFETCH(QString, cells);

        StationProbe probe;
        if (faultPosition > 0) {
            QVERIFY(probe.station.injectFault(faultPosition, 1));
        }
        probe.send(RadioTestCommand(test, range, byTrain, number));
        probe.run(115000);

        QCOMPARE(FramingProblem(probe.raw), QString());
        const QList<ReceivedUnit> results = probe.frames(0xE2);
        QCOMPARE(results.size(), 1);
        QCOMPARE(Cells(results[0].frame), cells);
        QCOMPARE(probe.names().last(), QString("C0"));
        QVERIFY(probe.statuses(0xC0).first().atMs > results[0].atMs);

        // The number the PC gave comes back; the other one is the radio's own.
        const MessageFrame train = probe.frames(0xEC).value(0).frame;
        const MessageFrame loco = probe.frames(0xEE).value(0).frame;
        if (byTrain) {
            QCOMPARE(Cells(train).mid(2, 4), number);
        } else {
            QCOMPARE(Cells(loco).mid(1, 7), number);
        }
        if (test == 3) {
            QCOMPARE(Cells(train).left(2), QString("97"));
            QCOMPARE(train.Nibble[7], results[0].frame.Nibble[6]);
        }

        // The PC's locomotive number is known before the correction is asked for.
        const QStringList names = probe.names();
        QVERIFY(!names.contains("B9")); // the low-frequency check is off
        QVERIFY(names.indexOf("EE") < names.indexOf("CC"));

        // Every band is tested, the chosen range first in its own band; a faulty
        // band does not get its signals.
        const QStringList all = DmvSteps + MvSteps + GmvSteps;
        QStringList steps;
        for (const QString &name : names) {
            if (all.contains(name)) {
                steps.append(name);
            }
        }
        QVERIFY(names.contains(QStringLiteral("%1").arg(0x90 + range, 2, 16).toUpper()));
        for (const QStringList &band : { DmvSteps, MvSteps, GmvSteps }) {
            const bool faulty = faultPosition == (band == DmvSteps ? 1 : band == MvSteps ? 2 : 3);
            QCOMPARE(IsSubsequence(band, steps), !faulty);
            QVERIFY(IsSubsequence({ band.first(), band.last() }, steps));
        }
        // The radio's answer matches on every band but a faulty one: ППНЛ for a
        // locomotive number, ППНК for a train number.
        const bool bandFault = faultPosition >= 1 && faultPosition <= 3;
        QCOMPARE(names.count(byTrain ? "AF" : "AD"), bandFault ? 2 : 3);
        QCOMPARE(names.count(byTrain ? "AE" : "AC"), bandFault ? 1 : 0);

        // Factory numbers with check values the PC accepts, for blocks that have cells.
        const QList<ReceivedUnit> factory = probe.frames(0xF8);
        QVERIFY(factory.size() >= 2);
        for (const ReceivedUnit &unit : factory) {
            const auto &c = unit.frame.Nibble;
            const int n = c[0] * 10 + c[1];
            QVERIFY(n >= 10 && n <= 41);
            QCOMPARE((c[2] * 10 + c[3] + c[4] * 10 + c[5] + n) % 100, c[6] * 10 + c[7]);
            for (int i = 0; i < 8; ++i) {
                QVERIFY(c[i] <= 9);
            }
        }
        // The deviations are measured in test 2 only; the sensitivity in both.
        QCOMPARE(MeasurementFrames(probe, 3).size(), test == 2 ? 1 : 0);
        QCOMPARE(MeasurementFrames(probe, 4).size(), 1);
    }

    void measurementsFollowTheFaultsAndThresholds()
    {
        StationProbe probe;
        QVERIFY(probe.station.injectFault(3, 1)); // ГМВ
        QVERIFY(probe.station.injectFault(5, 1)); // deviation МВ
        probe.send(RadioTestCommand(TestNumber::RadioTest2, RangeMV1, false, "0012345"));
        probe.run(115000);

        // The station's thresholds: upper 50 40 40, lower 30 25 25.
        const MessageFrame deviations = MeasurementFrames(probe, 3).value(0).frame;
        const int dmv = deviations.Nibble[2] * 10 + deviations.Nibble[3];
        const int mv = deviations.Nibble[4] * 10 + deviations.Nibble[5];
        const int gmv = deviations.Nibble[6] * 10 + deviations.Nibble[7];
        QVERIFY(dmv >= 30 && dmv <= 50);
        QVERIFY(mv > 40);
        QVERIFY(gmv >= 25 && gmv <= 40);

        // Verdict characters: even is normal, odd faulty.
        const Sensitivity s = SensitivityOf(MeasurementFrames(probe, 4).value(0).frame);
        QCOMPARE(s.mvVerdict % 2, 0);
        QCOMPARE(s.gmvVerdict % 2, 1);
    }

    void attenuationCorrectionIsTakenIntoTheSensitivity_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("mv");
        QTest::addColumn<int>("gmv");
        // The station's own attenuation is 12 for МВ and 10 for ГМВ.
        QTest::newRow("answered 12 and 7") << true << 24 << 17;
        QTest::newRow("not answered") << false << 12 << 10;
    }

    void attenuationCorrectionIsTakenIntoTheSensitivity()
    {
        QFETCH(bool, answered);
        QFETCH(int, mv);
        QFETCH(int, gmv);

        StationProbe probe;
        probe.send(RadioTestCommand(TestNumber::RadioTest3, RangeMV2, false, "0012345"));
        for (int i = 0; i < 100 && probe.statuses(0xCC).isEmpty(); ++i) {
            probe.run(100);
        }
        QCOMPARE(probe.statuses(0xCC).size(), 1);
        if (answered) {
            probe.send(
                Command([](CommandBuffer &b) { AppendAttenuationCorrectionFrame(b, 12, 7); }));
        }
        probe.run(115000);

        const Sensitivity s = SensitivityOf(MeasurementFrames(probe, 4).value(0).frame);
        QCOMPARE(s.mvAttenuation, mv);
        QCOMPARE(s.gmvAttenuation, gmv);

        // A correction belongs to its test: the next test starts without it.
        probe.clear();
        probe.send(RadioTestCommand(TestNumber::RadioTest3, RangeMV2, false, "0012345"));
        probe.run(115000);
        QCOMPARE(SensitivityOf(MeasurementFrames(probe, 4).value(0).frame).mvAttenuation, 12);
    }

    void blockedBandsAreLeftOut()
    {
        StationProbe probe;
        // Service word position 2 = 5: ДМВ and ГМВ blocked; position 1 bit 0: the
        // low-frequency check of the radio is on.
        probe.send(Bytes("E8 81 85 81 81 81 81 81 81 E9"));
        probe.send(RadioTestCommand(TestNumber::RadioTest2, RangeGMV1, false, "0012345"));
        probe.run(115000);

        const QStringList names = probe.names();
        for (const QString &code : DmvSteps + GmvSteps) {
            QVERIFY2(!names.contains(code), qPrintable(code));
        }
        QVERIFY(IsSubsequence(MvSteps, names));
        QVERIFY(IsSubsequence({ "A4", "B9", "F8" }, names));
        QCOMPARE(Cells(MeasurementFrames(probe, 3).value(0).frame).mid(2, 2), QString("00"));
        QCOMPARE(Cells(MeasurementFrames(probe, 3).value(0).frame).mid(6, 2), QString("00"));
        const Sensitivity s = SensitivityOf(MeasurementFrames(probe, 4).value(0).frame);
        QCOMPARE(s.gmvVerdict, 0);
        QCOMPARE(s.gmvAttenuation, 0);
        QCOMPARE(probe.frames(0xE2).size(), 1);
    }

    // Asked to leave out the factory numbers, the station does so for one radio test.
    void factoryNumbersLeftOutOfOneTest()
    {
        StationProbe probe;
        probe.station.omitFactoryNumbers();
        probe.send(RadioTestCommand(2, RangeMV2, false, "0012345"));
        probe.run(115000);
        QCOMPARE(probe.frames(0xE2).size(), 1);
        QVERIFY(probe.frames(0xF8).isEmpty());
        QVERIFY(!probe.station.pendingFaults().noFactoryNumbers);

        probe.send(RadioTestCommand(2, RangeMV2, false, "0012345"));
        probe.run(115000);
        QVERIFY(!probe.frames(0xF8).isEmpty());
    }

    void unconfirmedRadioTestReportsNoConfirmationAndNoResult_data()
    {
        QTest::addColumn<int>("test");
        QTest::newRow("test 2") << 2;
        QTest::newRow("test 3") << 3;
        QTest::newRow("radio test 1") << 6;
    }

    void unconfirmedRadioTestReportsNoConfirmationAndNoResult()
    {
        QFETCH(int, test);
        StationProbe probe;
        QVERIFY(probe.station.injectFault(8, 1));
        probe.send(RadioTestCommand(test, RangeMV2, false, "0012345"));
        probe.run(115000);
        QCOMPARE(probe.names(), QStringList({ "C9", "AB", "C0" }));
        QVERIFY(probe.statuses(0xAB).first().atMs < 5000);
    }

    void modesRunUntilTheReset_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("repeated");

        QTest::newRow("radio test 1")
            << RadioTestCommand(TestNumber::RadioTest1, RangeMV2, false, "0012345") << "EA";
        QTest::newRow("radio test 1 on a blocked band") << Bytes("E8 80 82 81 81 81 81 81 81 E9")
                + RadioTestCommand(TestNumber::RadioTest1, RangeMV2, false, "0012345")
                                                        << "EA";
        QTest::newRow("technological mode 1") << TestStart(TestNumber::TechMode1) << "EA";
        QTest::newRow("technological mode 2") << TestStart(TestNumber::TechMode2) << "EA";
        QTest::newRow("special mode") << Command([](CommandBuffer &b) {
            AppendTrainNumberFrame(b, u"0042");
            AppendLocoNumberFrame(b, u"0012345");
            AppendInfoFrame(b, u"00000001");
        }) << "F2";
    }

    void modesRunUntilTheReset()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, repeated);

        StationProbe probe;
        probe.send(command);
        probe.run(200000);
        QVERIFY(probe.station.busy());
        QCOMPARE(probe.frames(0xE2).size(), 0);
        const QStringList names = probe.names();
        QVERIFY(names.count(repeated) >= 20);
        // Still going at the end, not only at the start.
        QVERIFY(names.mid(names.size() - 20).contains(repeated));

        probe.clear();
        probe.send(Reset);
        probe.run(60000);
        QVERIFY(!probe.station.busy());
        const QStringList after = probe.names();
        QVERIFY(!after.isEmpty());
        // Transmitters still keyed are released before the station reports free.
        const int free = after.indexOf("C0");
        for (int i = 0; i < free; ++i) {
            QVERIFY(QStringList({ "A3", "A4", "A5" }).contains(after[i]));
        }
        QCOMPARE(after.mid(free + 1),
            QStringList({ "E8", "EA", "EA", "EA", "E4", "E4", "E4", "E4", "F6" }));
        QCOMPARE(FramingProblem(probe.raw), QString());
    }

    void resetReleasesAKeyedTransmitter()
    {
        StationProbe probe;
        probe.send(Bytes("93 D1"));
        probe.run(100); // the range and transmitter on, the call not yet done
        QVERIFY(probe.names().contains("A1"));
        probe.clear();
        probe.send(Reset);
        probe.run(3000);
        QCOMPARE(probe.names().mid(0, 2), QStringList({ "A4", "C0" }));
    }

    void callAlarmComesWithinHalfASecond_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<QString>("code");
        QTest::newRow("МВ1 with alarm") << Bytes("93 D1") << true << "99";
        QTest::newRow("ГМВ2 with alarm") << Bytes("92 D2") << true << "9A";
        QTest::newRow("ДМВ with alarm") << Bytes("90 D1") << true << "99";
        QTest::newRow("МВ1 without alarm") << Bytes("93 D1") << false << "";
    }

    void callAlarmComesWithinHalfASecond()
    {
        QFETCH(QByteArray, call);
        QFETCH(bool, alarm);
        QFETCH(QString, code);

        StationProbe probe({ 1.0, alarm });
        probe.send(call);
        probe.run(500);
        const QStringList names = probe.names();
        const QStringList alarms { "98", "99", "9A" };
        if (!alarm) {
            for (const QString &a : alarms) {
                QVERIFY(!names.contains(a));
            }
            return;
        }
        // After the transmitter is keyed: its indicator would hide the alarm again.
        QCOMPARE(names.last(), code);
        QVERIFY(names.indexOf(code) > 0);

        // The PC repeats the call once; the station runs it again.
        probe.clear();
        probe.send(call);
        probe.run(5000);
        QVERIFY(IsSubsequence({ call.toHex().left(2).toUpper(), code }, probe.names()));
        QCOMPARE(probe.names().last().left(1), QString("A"));
    }

    void silentStationIgnoresThePc()
    {
        StationProbe probe;
        probe.station.setAnswering(false);
        probe.send(Reset + TestStart(TestNumber::SelfTest));
        probe.run(30000);
        QCOMPARE(probe.raw, QByteArray());

        probe.station.setAnswering(true);
        probe.send(Reset);
        probe.run(3000);
        QCOMPARE(probe.names().value(0), QString("C0"));
    }

    void noiseCarriesNothingAndSparesTheNextFrame()
    {
        StationProbe probe;
        for (int i = 0; i < 200; ++i) {
            probe.station.sendNoise();
        }
        QVERIFY(probe.raw.size() >= 200 * 40);
        QCOMPARE(probe.names(), QStringList());
        QVERIFY(!probe.assembler.frameInProgress());

        probe.send(TestStart(TestNumber::SelfTest));
        probe.run(20000);
        QCOMPARE(Cells(probe.frames(0xE2).value(0).frame), QString("00000001"));
    }

    void stationReportsTestsOnItsOwn_data()
    {
        QTest::addColumn<int>("test");
        QTest::addColumn<QString>("cells");
        QTest::newRow("self-test") << 1 << "00000001";
        QTest::newRow("test 2") << 2 << "00000002";
        QTest::newRow("test 3") << 3 << "00000003";
    }

    void stationReportsTestsOnItsOwn()
    {
        QFETCH(int, test);
        QFETCH(QString, cells);

        StationProbe probe;
        QVERIFY(test == 1 ? probe.station.reportSelfTest() : probe.station.reportRadioTest(test));
        // Busy with it: another one is refused.
        QVERIFY(!probe.station.reportSelfTest());
        QVERIFY(!probe.station.reportRadioTest(2));
        probe.run(115000);
        QCOMPARE(probe.frames(0xE2).size(), 1);
        QCOMPARE(Cells(probe.frames(0xE2)[0].frame), cells);
        if (test != 1) {
            // The radio's numbers come before the result, for the PC to show.
            QVERIFY(IsSubsequence({ "EC", "EE", "E2" }, probe.names()));
        }
        QVERIFY(!probe.station.busy());
        QVERIFY(probe.station.reportSelfTest());
    }

    void autoTestTakesTurnsAndWaitsForAFreeStation()
    {
        StationProbe probe;
        probe.station.setAutoTest(300);
        probe.run(299000);
        QCOMPARE(probe.raw, QByteArray());
        probe.run(120000);
        QCOMPARE(probe.frames(0xE2).value(0).frame.Nibble[7], 2);

        // A mode running until the reset keeps the radio's test out.
        probe.clear();
        probe.send(TestStart(TestNumber::TechMode1));
        probe.run(300000);
        QCOMPARE(probe.frames(0xE2).size(), 0);
        probe.send(Reset);
        probe.run(300000);
        QCOMPARE(probe.frames(0xE2).value(0).frame.Nibble[7], 3);
    }

    void faultPositionsOutOfRangeAreRefused_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("value");
        QTest::newRow("position 9") << 9 << 1;
        QTest::newRow("position -1") << -1 << 1;
        QTest::newRow("value 16") << 3 << 16;
        QTest::newRow("value 0") << 3 << 0;
    }

    void faultPositionsOutOfRangeAreRefused()
    {
        QFETCH(int, position);
        QFETCH(int, value);
        StationProbe probe;
        QVERIFY(!probe.station.injectFault(position, value));
        QCOMPARE(probe.station.pendingFaults().result, InjectedFaults {}.result);
        QVERIFY(!probe.station.pendingFaults().noConfirmation);
    }
};

QTEST_GUILESS_MAIN(TestSimStation)
#include "tst_simstation.moc"
