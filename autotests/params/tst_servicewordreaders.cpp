#include "bytes.h"
#include "link/commandbuffer.h"
#include "params/parametermessages.h"
#include "params/servicewordcodec.h"
#include "shared/messageframe.h"
#include "shared/resulttext.h"
#include "shared/stationparameters.h"
#include "sim/parameterset.h"

#include <QTest>

namespace {

// What the station takes from the PC's service word message.
SimParameterSet StationAfter(const StationParameters &params)
{
    CommandBuffer buffer;
    AppendServiceWordMessage(buffer, params);
    const QByteArray bytes = BufferBytes(buffer);
    MessageFrame frame;
    frame.Code = static_cast<std::uint8_t>(bytes.at(0));
    for (int i = 0; i < MessageFrame::NibbleCells; ++i) {
        frame.Nibble[i] = static_cast<std::uint8_t>(bytes.at(1 + i)) & 0x0F;
    }
    frame.Count = MessageFrame::NibbleCells;
    SimParameterSet station;
    station.take(frame);
    return station;
}

QStringList BlockedLines(const QString &word)
{
    QStringList blocked;
    for (const ResultLine &line : ShowRadioTestCode(3, u"0000000", word)) {
        if (line.text.startsWith(QStringLiteral("Заблокирован"))) {
            blocked.append(line.text);
        }
    }
    return blocked;
}

} // namespace

// Positions 1 to 3 of the service word are bit sets. Every reader, on the PC and in
// the station, takes a position's bits from the value of its hex digit.
class TestServiceWordReaders : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyReaderTakesTheDigitsValue_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("value");
        const QString digits = QStringLiteral("0123456789ABCDEF");
        for (int position = 1; position <= 3; ++position) {
            for (int value = 0; value < 16; ++value) {
                QTest::addRow("position %d, %c", position, digits.at(value).toLatin1())
                    << position << value;
            }
        }
    }

    void everyReaderTakesTheDigitsValue()
    {
        QFETCH(int, position);
        QFETCH(int, value);
        StationParameters params;
        params.ToolWord = QStringLiteral("00011111");
        params.ToolWord[position - 1] = QStringLiteral("0123456789ABCDEF").at(value);

        QCOMPARE(params.ToolWordBits(position), value);
        QCOMPARE(DecodeServiceWord(params.ToolWord).bits.at(position - 1), value);
        const QString lowerCase = params.ToolWord.toLower();
        QCOMPARE(ServiceWordBits(lowerCase, position), value);

        const SimParameterSet station = StationAfter(params);
        QCOMPARE(station.serviceDigit(position), value);

        switch (position) {
        case 1:
            QCOMPARE(station.lowFrequencyCheck(), bool(value & 0x1));
            break;
        case 2: {
            QCOMPARE(params.DmvBlocked(), bool(value & 0x1));
            QCOMPARE(params.MvBlocked(), bool(value & 0x2));
            QCOMPARE(params.GmvBlocked(), bool(value & 0x4));
            QCOMPARE(station.bandBlocked(Band::Dmv), params.DmvBlocked());
            QCOMPARE(station.bandBlocked(Band::Mv), params.MvBlocked());
            QCOMPARE(station.bandBlocked(Band::Gmv), params.GmvBlocked());
            QStringList blocked;
            if (value & 0x1) {
                blocked << QStringLiteral("Заблокирован ДМВ");
            }
            if (value & 0x2) {
                blocked << QStringLiteral("Заблокирован МВ");
            }
            if (value & 0x4) {
                blocked << QStringLiteral("Заблокирован ГМВ");
            }
            QCOMPARE(BlockedLines(params.ToolWord), blocked);
            break;
        }
        default:
            QCOMPARE(params.HourlySelfTest(), bool(value & 0x2));
            break;
        }
    }

    // A kept bit 3 of position 3 with "Самотест через час:" ticked makes "A": the
    // station then runs the hourly self-test and no longer the ЛМК-3 check, and so
    // must the PC read it.
    void hourlyTickedOverAKeptBit()
    {
        StationParameters params;
        params.ToolWord = QStringLiteral("01811111");
        ServiceWordSettings settings = DecodeServiceWord(params.ToolWord);
        settings.bits[2] |= 0x2;
        params.ToolWord = EncodeServiceWord(params.ToolWord, settings);
        QCOMPARE(params.ToolWord, QStringLiteral("01A11111"));
        QVERIFY(params.HourlySelfTest());
        QCOMPARE(params.ToolWordBits(3) & 0x1, 0);
        QCOMPARE(StationAfter(params).serviceDigit(3), 0xA);
    }

    void charactersOutsideTheWordHaveNoBits_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("position");
        QTest::newRow("not a hex digit") << QStringLiteral("0G111111") << 2;
        QTest::newRow("cyrillic letter") << QStringLiteral("0А111111") << 2;
        QTest::newRow("beyond a short word") << QStringLiteral("01") << 3;
        QTest::newRow("position 0") << QStringLiteral("71111111") << 0;
        QTest::newRow("position 9") << QStringLiteral("71111117") << 9;
    }

    void charactersOutsideTheWordHaveNoBits()
    {
        QFETCH(QString, word);
        QFETCH(int, position);
        QCOMPARE(ServiceWordBits(word, position), 0);
    }
};

QTEST_GUILESS_MAIN(TestServiceWordReaders)
#include "tst_servicewordreaders.moc"
