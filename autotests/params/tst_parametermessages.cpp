#include "bytes.h"
#include "link/commandbuffer.h"
#include "params/parametermessages.h"
#include "shared/stationparameters.h"

#include <QTest>

#include <functional>

namespace {

using Build = std::function<void(CommandBuffer &, const StationParameters &)>;

QByteArray Message(const StationParameters &params, const Build &build)
{
    CommandBuffer buffer;
    build(buffer, params);
    return BufferBytes(buffer);
}

StationParameters WithToolWord(const char *word)
{
    StationParameters p;
    p.ToolWord = QString::fromLatin1(word);
    return p;
}

} // namespace

class TestParameterMessages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messages_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("default service word") << Message(StationParameters(),
            AppendServiceWordMessage) << Bytes("E8 80 81 81 81 81 81 81 81 E9");
        QTest::newRow("service word 30512341") << Message(WithToolWord("30512341"),
            AppendServiceWordMessage) << Bytes("E8 83 80 85 81 82 83 84 81 E9");
        QTest::newRow("reported hex digit is sent as its value")
            << Message(WithToolWord("0A111111"), AppendServiceWordMessage)
            << Bytes("E8 80 8A 81 81 81 81 81 81 E9");

        StationParameters thresholds;
        thresholds.DeviacD = "12";
        thresholds.DeviacM = "34";
        thresholds.DeviacG = "56";
        thresholds.Deviacd2 = "01";
        thresholds.DeviacM2 = "02";
        thresholds.DeviacG2 = "03";
        QTest::newRow("upper thresholds") << Message(thresholds, AppendUpperThresholdsMessage)
                                          << Bytes("EA 80 80 81 82 83 84 85 86 EB");
        QTest::newRow("lower thresholds") << Message(thresholds, AppendLowerThresholdsMessage)
                                          << Bytes("EA 80 81 80 81 80 82 80 83 EB");

        StationParameters sensitivity;
        sensitivity.reserv = "45";
        sensitivity.Osl_mw = "07";
        sensitivity.osl_gmw = "10";
        QTest::newRow("sensitivity") << Message(sensitivity, AppendSensitivityMessage)
                                     << Bytes("EA 80 82 84 85 80 87 81 80 EB");
        QTest::newRow("empty sensitivity texts still make a whole frame")
            << Message(StationParameters(), AppendSensitivityMessage)
            << Bytes("EA 80 82 80 80 80 80 80 80 EB");

        StationParameters channels;
        channels.PrmMv2 = "123";
        channels.PrdMv2 = "045";
        QTest::newRow("channels group 2")
            << Message(channels, [](auto &b, const auto &p) { AppendChannelsMessage(b, p, 2); })
            << Bytes("E4 80 82 81 82 83 80 84 85 E5");
        QTest::newRow("channels group 1 defaults")
            << Message(channels, [](auto &b, const auto &p) { AppendChannelsMessage(b, p, 1); })
            << Bytes("E4 80 81 80 80 80 80 80 80 E5");
    }

    void messages()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built.toHex(' '), expected.toHex(' '));
    }

    void wholeDefaultSet()
    {
        StationParameters params;
        params.reserv = params.Osl_mw = params.osl_gmw = "00";
        params.PrmMv4 = "999"; // a reported fourth group is never sent
        CommandBuffer buffer;
        AppendAllParameterMessages(buffer, params);
        QCOMPARE(buffer.Count(), 190);

        const QByteArray gap(20, '\0');
        const QByteArray expected = Bytes("E8 80 81 81 81 81 81 81 81 E9") + gap
            + Bytes("EA 80 80 80 80 80 80 80 80 EB") + gap + Bytes("EA 80 81 80 80 80 80 80 80 EB")
            + gap + Bytes("EA 80 82 80 80 80 80 80 80 EB") + gap
            + Bytes("E4 80 81 80 80 80 80 80 80 E5") + gap + Bytes("E4 80 82 80 80 80 80 80 80 E5")
            + gap + Bytes("E4 80 83 80 80 80 80 80 80 E5");
        QCOMPARE(BufferBytes(buffer).toHex(' '), expected.toHex(' '));
        for (int start : { 10, 40, 70, 100, 130, 160 }) {
            QCOMPARE(BufferBytes(buffer).mid(start, 20), gap);
        }
    }

    void serviceWordReadings()
    {
        StationParameters p;
        QVERIFY(p.DmvBlocked());
        QVERIFY(!p.MvBlocked());
        QVERIFY(!p.GmvBlocked());
        QVERIFY(!p.HourlySelfTest());
        p.ToolWord = "07301112";
        QVERIFY(p.DmvBlocked() && p.MvBlocked() && p.GmvBlocked());
        QVERIFY(p.HourlySelfTest());
        QCOMPARE(p.ToolWordDigit(7), 1);
        QCOMPARE(p.ToolWordDigit(8), 2);
        p.ToolWord = "0A11111X";
        QVERIFY(!p.DmvBlocked() && p.MvBlocked()); // "A" is 10: bits 1 and 3
        QCOMPARE(p.ToolWordDigit(8), -1);
        p.ToolWord = "01";
        QCOMPARE(p.ToolWordDigit(8), -1);
        QCOMPARE(p.ToolWordBits(8), 0);
    }

    void accessCode()
    {
        StationParameters p;
        QVERIFY(!p.AccessGranted());
        p.Mehanik = "9316";
        QVERIFY(p.AccessGranted());
        p.Mehanik = "09316";
        QVERIFY(!p.AccessGranted());
    }
};

QTEST_GUILESS_MAIN(TestParameterMessages)
#include "tst_parametermessages.moc"
