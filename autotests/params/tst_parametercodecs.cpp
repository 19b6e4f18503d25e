#include "params/parameterreads.h"
#include "params/reservecodec.h"
#include "params/servicewordcodec.h"
#include "shared/codecs.h"

#include <QTest>

using Entries = std::array<int, ServiceWordSettings::Lists>;
using PositionBits = std::array<int, 3>;
Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(PositionBits)
Q_DECLARE_METATYPE(ReserveSettings)

namespace {

ServiceWordSettings Settings(Entries entries, PositionBits bits)
{
    ServiceWordSettings s;
    s.entries = entries;
    s.bits = bits;
    return s;
}

ReserveSettings Reserve(bool test21, bool test22, bool test32, int tone, bool dvx)
{
    ReserveSettings r;
    r.test21 = test21;
    r.test22 = test22;
    r.test32 = test32;
    r.tone = tone;
    r.dvx = dvx;
    return r;
}

} // namespace

class TestParameterCodecs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editsKeepOnlyTheirDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hexDigits");
        QTest::addColumn<QString>("kept");

        QTest::newRow("letter in a decimal edit") << "7b" << false << "70";
        QTest::newRow("hex letters in a decimal edit") << "AF" << false << "00";
        QTest::newRow("hex letter in a hex edit, upper-cased") << "7b" << true << "7B";
        QTest::newRow("letters beyond F in a hex edit") << "GZ" << true << "00";
        QTest::newRow("Cyrillic and punctuation") << QString::fromUtf8("1в-") << true << "100";
        QTest::newRow("non-ASCII digit") << QString::fromUtf8("٣1") << false << "01";
        QTest::newRow("empty") << "" << false << "";
    }
    void editsKeepOnlyTheirDigits()
    {
        QFETCH(QString, typed);
        QFETCH(bool, hexDigits);
        QFETCH(QString, kept);
        QCOMPARE(KeepDigits(typed, hexDigits), kept);
    }

    void padding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("padded");
        QTest::addColumn<QString>("fitted");

        QTest::newRow("short service word") << "123" << 8 << "00000123"
                                            << "00000123";
        QTest::newRow("empty threshold") << "" << 2 << "00"
                                         << "00";
        QTest::newRow("full width") << "045" << 3 << "045"
                                    << "045";
        QTest::newRow("too long") << "12345" << 4 << "12345"
                                  << "1234";
    }
    void padding()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, padded);
        QFETCH(QString, fitted);
        QCOMPARE(PadWithZeros(text, width), padded);
        QCOMPARE(FittedToWidth(text, width), fitted);
    }

    void serviceWordTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("read");

        QTest::newRow("letters kept in the bit sets only")
            << "abcdef12" << "ABC00012" << "ABC00012";
        QTest::newRow("other characters become 0 everywhere")
            << QString::fromUtf8("x-Жg?.1z") << "00000010" << "00000010";
        QTest::newRow("short text: kept from the left, read with zeros in front")
            << "a1b" << "A1B" << "00000010";
        QTest::newRow("empty") << "" << "" << "00000000";
    }
    void serviceWordTyping()
    {
        QFETCH(QString, typed);
        QTEST(ServiceWordTyped(typed), "kept");
        QTEST(ServiceWordFromEdit(typed), "read");
    }

    void serviceWordRangeRefusal_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("refusal");

        const QString none;
        const auto refusal = [](const char *caption, int position, int last) {
            return QStringLiteral("%1 (позиция %2 служебного слова): допустимы цифры от 1 до %3.")
                .arg(QString::fromUtf8(caption))
                .arg(position)
                .arg(last);
        };
        // Replacing one character of a full word.
        QTest::newRow("position 4 takes 8") << "01111111" << "01181111" << none;
        QTest::newRow("position 4 refuses 9")
            << "01111111" << "01191111" << refusal("Группа частот ДМВ для теста 3", 4, 8);
        QTest::newRow("position 5 refuses 0")
            << "01111111" << "01110111" << refusal("Группа частот МВ для теста 3", 5, 8);
        QTest::newRow("position 6 refuses 7")
            << "01111111" << "01111711" << refusal("Канал МВ для теста 3", 6, 6);
        QTest::newRow("position 7 takes 2, refuses 3")
            << "01111121" << "01111131" << refusal("Канал дежурного приема ГМВ", 7, 2);
        QTest::newRow("position 8 takes 4") << "01111111" << "01111114" << none;
        QTest::newRow("position 8 refuses 5")
            << "01111111" << "01111115" << refusal("Канал дежурного приема МВ", 8, 4);
        QTest::newRow("bit sets take any digit") << "01111111" << "FAC11111" << none;
        // Typing from the left into an emptied edit, and deleting.
        QTest::newRow("typing the first characters") << "01" << "011" << none;
        QTest::newRow("typing position 4") << "011" << "0119" << refusal(
            "Группа частот ДМВ для теста 3", 4, 8);
        QTest::newRow("deleting never refuses") << "01111199" << "0111119" << none;
        // A reported digit out of range that the change does not touch.
        QTest::newRow("untouched reported 0") << "01101111" << "01101112" << none;
        QTest::newRow("pasting a whole word")
            << "01111111" << "01111131" << refusal("Канал дежурного приема ГМВ", 7, 2);
    }
    void serviceWordRangeRefusal()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QTEST(ServiceWordRangeRefusal(before, after), "refusal");
    }

    void decodeServiceWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<PositionBits>("bits");

        QTest::newRow("default") << "01111111" << Entries { 0, 0, 0, 0, 0 }
                                 << PositionBits { 0, 1, 1 };
        QTest::newRow("zero digits select nothing")
            << "00000000" << Entries { -1, -1, -1, -1, -1 } << PositionBits { 0, 0, 0 };
        QTest::newRow("last entries; 9 is the empty entry of position 4")
            << "74398624" << Entries { 8, 7, 5, 1, 3 } << PositionBits { 7, 4, 3 };
        QTest::newRow("digits beyond the lists select nothing")
            << "00099735" << Entries { 8, -1, -1, -1, -1 } << PositionBits { 0, 0, 0 };
        QTest::newRow("reported hex digits read by their value")
            << "0AF11111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 0, 10, 15 };
        QTest::newRow("short word read with zeros in front")
            << "11" << Entries { -1, -1, -1, 0, 0 } << PositionBits { 0, 0, 0 };
    }
    void decodeServiceWord()
    {
        QFETCH(QString, word);
        QFETCH(Entries, entries);
        QFETCH(PositionBits, bits);
        const ServiceWordSettings settings = DecodeServiceWord(word);
        QCOMPARE(settings.entries, entries);
        QCOMPARE(settings.bits, bits);
    }

    void encodeServiceWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<PositionBits>("bits");
        QTest::addColumn<QString>("encoded");

        QTest::newRow("default unchanged")
            << "01111111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 0, 1, 1 } << "01111111";
        QTest::newRow("every list at its last digit, every bit")
            << "01111111" << Entries { 7, 7, 5, 1, 3 } << PositionBits { 7, 7, 3 } << "77388624";
        QTest::newRow("no selection and the empty entry keep the old digits")
            << "00050000" << Entries { 8, -1, -1, -1, -1 } << PositionBits { 0, 0, 0 }
            << "00050000";
        QTest::newRow("bit 3 of positions 1 and 2 is written as 0")
            << "98011111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 1, 0, 0 } << "10011111";
        QTest::newRow("position 3 keeps bits 2 and 3")
            << "00411111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 0, 0, 3 } << "00711111";
        QTest::newRow("kept bit 3 with the hourly self-test stays a hex digit")
            << "00911111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 0, 0, 2 } << "00A11111";
        QTest::newRow("reported hex position 3 keeps its high bits")
            << "00F11111" << Entries { 0, 0, 0, 0, 0 } << PositionBits { 0, 0, 0 } << "00C11111";
    }
    void encodeServiceWord()
    {
        QFETCH(QString, word);
        QFETCH(Entries, entries);
        QFETCH(PositionBits, bits);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeServiceWord(word, Settings(entries, bits)), encoded);
    }

    void decodeReserve_data()
    {
        QTest::addColumn<QString>("reserv");
        QTest::addColumn<bool>("test21");
        QTest::addColumn<bool>("test22");
        QTest::addColumn<bool>("test32");
        QTest::addColumn<int>("tone");
        QTest::addColumn<bool>("dvx");

        QTest::newRow("45") << "45" << true << false << true << 0 << true;
        QTest::newRow("tone 1000, tests 22") << "12" << false << true << false << 1 << false;
        QTest::newRow("tone 1400") << "27" << true << true << true << 2 << false;
        QTest::newRow("empty tone shows the first entry")
            << "30" << false << false << false << 0 << false;
        QTest::newRow("kept bits show nothing") << "88" << false << false << false << 0 << false;
        QTest::newRow("empty text") << "" << false << false << false << 0 << false;
    }
    void decodeReserve()
    {
        QFETCH(QString, reserv);
        const ReserveSettings r = DecodeReserve(reserv);
        QTEST(r.test21, "test21");
        QTEST(r.test22, "test22");
        QTEST(r.test32, "test32");
        QTEST(r.tone, "tone");
        QTEST(r.dvx, "dvx");
    }

    void encodeReserve_data()
    {
        QTest::addColumn<QString>("reserv");
        QTest::addColumn<ReserveSettings>("settings");
        QTest::addColumn<QString>("encoded");

        QTest::newRow("45 unchanged") << "45" << Reserve(true, false, true, 0, true) << "45";
        QTest::newRow("45 with the empty tone entry")
            << "45" << Reserve(true, false, true, 3, true) << "75";
        QTest::newRow("all cleared") << "77" << Reserve(false, false, false, 0, false) << "00";
        QTest::newRow("kept bits 3 and 7") << "88" << Reserve(false, true, false, 1, true) << "DA";
        QTest::newRow("every bit") << "88" << Reserve(true, true, true, 3, true) << "FF";
    }
    void encodeReserve()
    {
        QFETCH(QString, reserv);
        QFETCH(ReserveSettings, settings);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeReserve(reserv, settings), encoded);
        // What was written reads back as it was set, the empty tone as the first entry.
        const ReserveSettings back = DecodeReserve(encoded);
        QCOMPARE(back.test21, settings.test21);
        QCOMPARE(back.test22, settings.test22);
        QCOMPARE(back.test32, settings.test32);
        QCOMPARE(back.dvx, settings.dvx);
        QCOMPARE(back.tone, settings.tone == 3 ? 0 : settings.tone);
    }
};

QTEST_GUILESS_MAIN(TestParameterCodecs)
#include "tst_parametercodecs.moc"
