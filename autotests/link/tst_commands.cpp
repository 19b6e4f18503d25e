#include "bytes.h"
#include "link/commandbuffer.h"
#include "link/commands.h"
#include "link/ranges.h"

#include <QTest>

#include <functional>

namespace {

// Builds one command from an empty buffer, as its sender does.
QByteArray Command(const std::function<void(CommandBuffer &)> &build)
{
    CommandBuffer buffer;
    buffer.Start();
    build(buffer);
    return BufferBytes(buffer);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandBytes_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("reset") << Command([](auto &b) { b.append(CommandByte::Reset); })
                               << Bytes("D0");
        QTest::newRow("self-test")
            << Command([](auto &b) { AppendTestStartFrame(b, TestNumber::SelfTest); })
            << Bytes("E2 80 80 80 80 80 80 80 81 E3");
        QTest::newRow("radio test 1 on MV2, loco 0012345") << Command([](auto &b) {
            AppendRangeByte(b, RangeMV2);
            AppendLocoNumberFrame(b, u"0012345");
            AppendTestStartFrame(b, TestNumber::RadioTest1);
        }) << Bytes("94 EE 81 80 80 81 82 83 84 85 EF E2 80 80 80 80 80 80 80 86 E3");
        QTest::newRow("radio test 2 on DMV, train 1234") << Command([](auto &b) {
            AppendRangeByte(b, RangeDMV);
            AppendTrainNumberFrame(b, u"1234");
            AppendTestStartFrame(b, TestNumber::RadioTest2);
        }) << Bytes("90 EC 80 80 81 82 83 84 80 80 ED E2 80 80 80 80 80 80 80 82 E3");
        QTest::newRow("radio test 3 on MV4, loco 1234567") << Command([](auto &b) {
            AppendRangeByte(b, RangeMV4);
            AppendLocoNumberFrame(b, u"1234567");
            AppendTestStartFrame(b, TestNumber::RadioTest3);
        }) << Bytes("96 EE 81 81 82 83 84 85 86 87 EF E2 80 80 80 80 80 80 80 83 E3");
        QTest::newRow("call 2 on GMV1") << Command([](auto &b) {
            AppendRangeByte(b, RangeGMV1);
            b.append(CommandByte::Call2);
        }) << Bytes("91 D2");
        QTest::newRow("call 1 on MV3") << Command([](auto &b) {
            AppendRangeByte(b, RangeMV3);
            b.append(CommandByte::Call1);
        }) << Bytes("95 D1");
        QTest::newRow("technological mode 1")
            << Command([](auto &b) { AppendTestStartFrame(b, TestNumber::TechMode1); })
            << Bytes("E2 80 80 80 80 80 80 80 84 E3");
        QTest::newRow("technological mode 2")
            << Command([](auto &b) { AppendTestStartFrame(b, TestNumber::TechMode2); })
            << Bytes("E2 80 80 80 80 80 80 80 85 E3");
        QTest::newRow("special mode start")
            << Command([](auto &b) {
                   AppendTrainNumberFrame(b, u"0001");
                   AppendLocoNumberFrame(b, u"0000002");
                   AppendInfoFrame(b, u"12345678");
               })
            << Bytes("EC 80 80 80 80 80 81 80 80 ED EE 81 80 80 80 80 80 80 82 EF "
                     "E0 81 82 83 84 85 86 87 88 E1");
        QTest::newRow("attenuation correction 12 and 7")
            << Command([](auto &b) { AppendAttenuationCorrectionFrame(b, 12, 7); })
            << Bytes("F4 80 80 80 80 81 82 80 87 F5");
        QTest::newRow("attenuation correction 150 is capped")
            << Command([](auto &b) { AppendAttenuationCorrectionFrame(b, 150, 99); })
            << Bytes("F4 80 80 80 80 89 89 89 89 F5");
        QTest::newRow("attenuation correction 300 and -1")
            << Command([](auto &b) { AppendAttenuationCorrectionFrame(b, 300, -1); })
            << Bytes("F4 80 80 80 80 89 89 80 80 F5");
        QTest::newRow("non-hex character in a number")
            << Command([](auto &b) { AppendTrainNumberFrame(b, u"1x3Б"); })
            << Bytes("EC 80 80 81 80 83 80 80 80 ED");
        QTest::newRow("hex letters in a number")
            << Command([](auto &b) { AppendInfoFrame(b, u"aBcDeF01"); })
            << Bytes("E0 8A 8B 8C 8D 8E 8F 80 81 E1");
        QTest::newRow("short number is padded on the left")
            << Command([](auto &b) { AppendLocoNumberFrame(b, u"12"); })
            << Bytes("EE 81 80 80 80 80 80 81 82 EF");
        QTest::newRow("long number is cut to its width")
            << Command([](auto &b) { AppendTrainNumberFrame(b, u"123456"); })
            << Bytes("EC 80 80 81 82 83 84 80 80 ED");
    }

    void commandBytes()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built.toHex(' '), expected.toHex(' '));
    }

    void rangeBytesAndNames()
    {
        const char *names[] = { "ДМВ", "ГМВ1", "ГМВ2", "МВ1", "МВ2", "МВ3", "МВ4" };
        for (int i = 0; i < RangeCount; ++i) {
            QCOMPARE(RangeByte(i), 0x90 + i);
            QCOMPARE(RangeName(i), QString::fromUtf8(names[i]));
        }
        QCOMPARE(RangeName(-1), QString());
        QCOMPARE(RangeName(7), QString());
    }

    void appendFollowsWhatTheBufferStillCounts()
    {
        CommandBuffer buffer;
        AppendRangeByte(buffer, RangeDMV);
        AppendAttenuationCorrectionFrame(buffer, 1, 2);
        QCOMPARE(BufferBytes(buffer), Bytes("90 F4 80 80 80 80 80 81 80 82 F5"));
    }

    void consumeKeepsTheUnwrittenTailInFront()
    {
        CommandBuffer buffer;
        AppendTestStartFrame(buffer, 1);
        buffer.consume(4);
        QCOMPARE(BufferBytes(buffer), Bytes("80 80 80 80 81 E3"));
        AppendAttenuationCorrectionFrame(buffer, 0, 0);
        QCOMPARE(BufferBytes(buffer), Bytes("80 80 80 80 81 E3 F4 80 80 80 80 80 80 80 80 F5"));
    }

    void neverWritesPastTheEnd()
    {
        // Failed sends leave their bytes counted; replies keep appending behind them.
        CommandBuffer buffer;
        for (int i = 0; i < 100; ++i) {
            AppendTestStartFrame(buffer, 1);
        }
        QCOMPARE(buffer.Count(), 1000);
        AppendAttenuationCorrectionFrame(buffer, 12, 7);
        // It would not fit: the leftovers are dropped and the reply goes out whole.
        QCOMPARE(BufferBytes(buffer), Bytes("F4 80 80 80 80 81 82 80 87 F5"));
        for (int i = 0; i < 200; ++i) {
            AppendAttenuationCorrectionFrame(buffer, 12, 7);
            QVERIFY(buffer.Count() > 0 && buffer.Count() <= CommandBuffer::Size);
            QCOMPARE(buffer.Count() % 10, 0); // messages are never split
        }
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
