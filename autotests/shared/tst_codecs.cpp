#include "shared/codecs.h"

#include <QTest>

class TestCodecs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hexTextToValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("A") << "A" << 10;
        QTest::newRow("f") << "f" << 15;
        QTest::newRow("FF") << "FF" << 255;
        QTest::newRow("1f") << "1f" << 31;
        QTest::newRow("1G stops at G") << "1G" << 1;
        QTest::newRow("G1") << "G1" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("three characters") << "123" << 0;
        QTest::newRow("100") << "100" << 0;
        QTest::newRow("Cyrillic") << QStringLiteral("Б") << 0;
    }

    void hexTextToValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(HexTextToValue(text), value);
    }

    void byteAndNibbleTexts()
    {
        QCOMPARE(ByteToHexText(0x0F), QStringLiteral("0F"));
        QCOMPARE(ByteToHexText(0xE4), QStringLiteral("E4"));
        QCOMPARE(ByteToHexText(0x00), QStringLiteral("00"));
        QCOMPARE(NibbleToHexChar(0x8B), QLatin1Char('B'));
        QCOMPARE(NibbleToHexChar(0x07), QLatin1Char('7'));
    }

    void frameNibblesToText()
    {
        MessageFrame frame;
        frame.Count = 3;
        frame.Nibble[0] = 1;
        frame.Nibble[1] = 0xA;
        frame.Nibble[2] = 3;
        frame.Nibble[3] = 9; // beyond Count
        const FrameNibbles whole = FrameNibblesToText(frame);
        QCOMPARE(whole.text, QStringLiteral("1A3"));
        QCOMPARE(whole.value, 0x3A1u); // cell 0 is the least significant nibble
        const FrameNibbles four = FrameNibblesToText(frame, 4);
        QCOMPARE(four.text, QStringLiteral("1A39"));
        QCOMPARE(four.value, 0x93A1u);
        QCOMPARE(FrameNibblesToText(frame, 0).text, QString());
        QCOMPARE(FrameNibblesToText(frame, 12).text.size(), 8); // never past the cells
    }

    void zeroPaddedNumber_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("7/2") << 7 << 2 << "07";
        QTest::newRow("123/2") << 123 << 2 << "123";
        QTest::newRow("0/2") << 0 << 2 << "00";
        QTest::newRow("12/7") << 12 << 7 << "0000012";
        QTest::newRow("5/0") << 5 << 0 << "5";
    }

    void zeroPaddedNumber()
    {
        QFETCH(int, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        QCOMPARE(ZeroPaddedNumber(value, width), text);
    }
};

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
