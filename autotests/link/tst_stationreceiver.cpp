#include "bytes.h"
#include "link/attenuationlookup.h"
#include "link/ranges.h"
#include "link/stationview.h"
#include "receivepath.h"
#include "shared/stationdata.h"

#include <QMap>
#include <QTest>

namespace {

// Writes every effect on the windows as a short text, in order.
class RecordingView final : public StationView
{
public:
    explicit RecordingView(const StationData &station)
        : m_station(station)
    { }

    void AddMessageLine(const QString &text, bool withRange) override
    {
        log(QStringLiteral("line[%1] %2")
                .arg(withRange ? RangeName(m_station.CurrentRange) : QStringLiteral("-"), text));
    }
    void showRangeName(const QString &name) override { log(QStringLiteral("Edit1 ") + name); }
    void showStationFree(bool free) override { log(free ? "free" : "busy"); }
    void SetCommandMenus(bool on) override { log(on ? "menus on" : "menus off"); }
    void ResetResultsPanel() override { log("reset panel"); }
    void ShowServiceWord() override { log("service word"); }
    void setTransmitting(Band band, bool on) override
    {
        log(QStringLiteral("Shape%1 %2").arg(int(band) + 1).arg(on ? "green" : "white"));
    }
    void showAlarm(Alarm alarm, bool visible) override
    {
        const char *names[] = { "LBadSch_MW", "LBadUM_MW", "LBadUM_GMW" };
        log(QStringLiteral("%1 %2").arg(names[int(alarm)], visible ? "shown" : "hidden"));
    }
    void setDmvLineSignal(bool present) override
    {
        log(present ? "CheckBox1 on" : "CheckBox1 off");
    }
    void setNeedle(int position) override { log(QStringLiteral("Gauge1 %1").arg(position)); }
    void showField(Field field, const QString &text) override
    {
        // The main window's controls, in the order of Field.
        const char *names[]
            = { "ELevd", "ELevm", "ELevg", "Edit3", "Edit2", "Edit4", "Edit7", "ELIU" };
        log(QStringLiteral("%1 %2").arg(names[int(field)], text));
    }
    void showSpecialModeResult(SpecialResult field, const QString &text) override
    {
        log(QStringLiteral("EResult%1 %2").arg(int(field) + 1).arg(text));
    }
    void beep() override { log("beep"); }
    void postStationTest(int testNumber) override
    {
        log(QStringLiteral("post test %1").arg(testNumber));
    }

    QStringList events;

private:
    void log(const QString &event) { events.append(event); }
    void log(const char *event) { events.append(QLatin1String(event)); }

    const StationData &m_station;
};

class MapLookup final : public AttenuationLookup
{
public:
    Result find(const QString &loco) override
    {
        lookedUp.append(loco);
        if (unreadable) {
            return { Outcome::Unreadable, {} };
        }
        if (!rows.contains(loco)) {
            return { Outcome::NotRegistered, {} };
        }
        return { Outcome::Found, rows.value(loco) };
    }

    QMap<QString, Corrections> rows;
    QStringList lookedUp;
    bool unreadable = false;
};

using Fixture = ReceivePath<RecordingView>;

} // namespace

class TestStationReceiver : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void effectsOnTheWindow_data()
    {
        QTest::addColumn<QString>("toolWord");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("collecting");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("rangeAfter");

        const QString word = QStringLiteral("01111111");
        QTest::newRow("range code")
            << word << 0 << 0 << Bytes("93") << QStringList { "Edit1 МВ1" } << 3;
        QTest::newRow("700 Hz on MV2 goes to the MV standby channel")
            << word << 4 << 0 << Bytes("B5")
            << QStringList { "line[МВ1] Наличие 700 гц первый раз" } << 3;
        QTest::newRow("700 Hz on MV1 stays")
            << word << 3 << 0 << Bytes("B6")
            << QStringList { "line[МВ1] Наличие 700 гц второй раз" } << 3;
        QTest::newRow("700 Hz GMV from DMV, standby channel 2")
            << QStringLiteral("01111121") << 0 << 0 << Bytes("B7")
            << QStringList { "line[ГМВ2] Наличие 700 гц первый раз" } << 2;
        QTest::newRow("700 Hz with a letter in the service word keeps the range")
            << QStringLiteral("011111A1") << 0 << 0 << Bytes("B8")
            << QStringList { "line[ДМВ] Наличие 700 гц второй раз" } << 0;
        QTest::newRow("DMV transmit while DMV blocked")
            << word << 0 << 0 << Bytes("A0 A3") << QStringList { "Shape1 white" } << 0;
        QTest::newRow("DMV transmit while free")
            << QStringLiteral("00111111") << 0 << 0 << Bytes("A0") << QStringList { "Shape1 green" }
            << 0;
        QTest::newRow("amplifier alarm and its end")
            << word << 0 << 0 << Bytes("99 A1 A4")
            << QStringList { "beep", "LBadUM_MW shown", "Shape2 green", "LBadUM_MW hidden",
                   "Shape2 white" }
            << 0;
        QTest::newRow("synthesizer alarm")
            << word << 0 << 0 << Bytes("98") << QStringList { "beep", "LBadSch_MW shown" } << 0;
        QTest::newRow("GMV alarm ends with GMV transmit")
            << word << 0 << 0 << Bytes("9A A2 A5")
            << QStringList { "beep", "LBadUM_GMW shown", "Shape3 green", "LBadUM_GMW hidden",
                   "Shape3 white" }
            << 0;
        QTest::newRow("busy") << word << 0 << 0 << Bytes("C9")
                              << QStringList { "busy", "menus off" } << 0;
        QTest::newRow("free, nothing collects, DMV free")
            << QStringLiteral("00111111") << 4 << 0 << Bytes("C0")
            << QStringList { "free", "menus on", "Edit1 ДМВ", "reset panel" } << 0;
        QTest::newRow("free while the self-test collects")
            << word << 4 << 1 << Bytes("C0") << QStringList { "free" } << 4;
        QTest::newRow("free while a radio test collects")
            << word << 4 << 2 << Bytes("C0") << QStringList { "free", "reset panel" } << 4;
        QTest::newRow("DMV line signal") << word << 0 << 0 << Bytes("C6 C5")
                                         << QStringList { "CheckBox1 on", "CheckBox1 off" } << 0;
        QTest::newRow("no confirmation")
            << word << 0 << 0 << Bytes("AB") << QStringList { "line[ДМВ] Нет подтверждения" } << 0;
        QTest::newRow("codes without text or effect")
            << word << 0 << 0 << Bytes("97 9B A6 AA C1 CA CD D0 DF") << QStringList {} << 0;
        QTest::newRow("status code between two nibbles")
            << word << 0 << 0 << Bytes("EE 81 81 AD 82 83 84 85 86 87 EF")
            << QStringList { "line[ДМВ] Совпал ППНЛ", "line[ДМВ] Номер локомотива: 1234567" } << 0;
        QTest::newRow("train number") << word << 4 << 0 << Bytes("EC 80 80 81 82 83 84 80 80 ED")
                                      << QStringList { "line[МВ2] Номер поезда: 1234" } << 4;
        QTest::newRow("train number 0000 with the test 1 code")
            << word << 0 << 0 << Bytes("EC 89 87 80 80 80 80 81 82 ED")
            << QStringList { "line[ДМВ] Номер поезда: XXXX. Код теста1 р/c: 12" } << 0;
        QTest::newRow("train number with a digit above 9")
            << word << 0 << 0 << Bytes("EC 80 80 81 8C 83 84 80 80 ED")
            << QStringList { "line[ДМВ] Номер поезда: 11234" } << 0;
        QTest::newRow("sensitivity results")
            << word << 0 << 0 << Bytes("EA 80 84 81 80 87 82 81 85 EB")
            << QStringList { "Edit3 07", "Edit2 15", "Edit4 Брак", "Edit7 Норма" } << 0;
        QTest::newRow("sensitivity not measured")
            << word << 0 << 0 << Bytes("EA 80 84 80 80 80 80 80 80 EB")
            << QStringList { "Edit3 00", "Edit2 00", "Edit4 0", "Edit7 0" } << 0;
        QTest::newRow("measured deviations")
            << word << 0 << 0 << Bytes("EA 80 83 81 82 83 84 85 86 EB")
            << QStringList { "ELevd 12", "ELevm 34", "ELevg 56" } << 0;
        QTest::newRow("LIU measurement") << word << 0 << 0 << Bytes("EA 80 85 80 81 82 83 80 80 EB")
                                         << QStringList { "ELIU 123" } << 0;
        QTest::newRow("unknown sub-code")
            << word << 0 << 0 << Bytes("EA 80 86 81 82 83 84 85 86 EB") << QStringList {} << 0;
        QTest::newRow("service word") << word << 0 << 0 << Bytes("E8 80 83 81 81 81 81 81 81 E9")
                                      << QStringList { "service word" } << 0;
        QTest::newRow("special mode results")
            << word << 0 << 0
            << Bytes("F0 81 82 83 84 85 86 87 88 F1 F2 81 82 83 84 85 86 87 88 F3")
            << QStringList { "EResult1 12345678", "beep", "EResult2 1 345678", "beep" } << 0;
        QTest::newRow("factory number with a good check")
            << word << 0 << 0 << Bytes("F8 81 82 83 84 85 86 80 82 F9")
            << QStringList { "line[ДМВ] Зав. номер 12 = 3456" } << 0;
        QTest::newRow("factory number with a bad check")
            << word << 0 << 0 << Bytes("F8 81 82 83 84 85 86 80 83 F9") << QStringList {} << 0;
        QTest::newRow("factory number of a block without cells")
            << word << 0 << 0 << Bytes("F8 80 89 81 82 83 84 80 86 F9") << QStringList {} << 0;
        QTest::newRow("station reports a radio test 3")
            << word << 0 << 0 << Bytes("E2 80 80 80 80 80 80 80 83 E3")
            << QStringList { "post test 3" } << 0;
        QTest::newRow("station reports test 0 or 4")
            << word << 0 << 0
            << Bytes("E2 80 80 80 80 80 80 80 80 E3 E2 80 80 80 80 80 80 80 84 E3")
            << QStringList {} << 0;
        QTest::newRow("unlisted frames")
            << word << 0 << 0 << Bytes("E0 81 E1 E6 81 E7 FE 81 FF") << QStringList {} << 0;
    }

    void effectsOnTheWindow()
    {
        QFETCH(QString, toolWord);
        QFETCH(int, range);
        QFETCH(int, collecting);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, events);
        QFETCH(int, rangeAfter);
        Fixture f;
        f.station.params.ToolWord = toolWord;
        f.station.CurrentRange = range;
        f.station.test.CollectingTest = collecting;
        f.feed(bytes);
        QCOMPARE(f.view.events, events);
        QCOMPARE(f.station.CurrentRange, rangeAfter);
        QCOMPARE(f.port.written, QByteArray()); // only the attenuation request answers
    }

    void needleSwingsBackAndForth()
    {
        Fixture f;
        QList<int> positions;
        for (int i = 0; i < 22; ++i) {
            f.feed(Bytes("CB"));
            positions.append(f.receiver.statusCodes().needlePosition());
        }
        const QList<int> expected { 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 90, 80, 70, 60, 50, 40,
            30, 20, 10, 0, 10, 20 };
        QCOMPARE(positions, expected);
    }

    void bandMessageFlags()
    {
        Fixture f;
        f.station.CurrentRange = RangeMV2;
        f.feed(Bytes("B5 BD B0 BF B9"));
        QCOMPARE(f.station.bands.MesM, QStringLiteral("00010"));
        QCOMPARE(f.station.bands.MesD, QStringLiteral("10001"));
        QCOMPARE(f.station.bands.MesG, QStringLiteral("10000"));
    }

    void noConfirmation()
    {
        Fixture f;
        f.feed(Bytes("AB"));
        QVERIFY(f.station.test.NoConfirmation);
    }

    void attenuationRequest_data()
    {
        using Outcome = AttenuationLookup::Outcome;
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("mv");
        QTest::addColumn<int>("gmv");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("line");
        QTest::newRow("registered 12 and 7")
            << Outcome::Found << 12 << 7 << Bytes("F4 80 80 80 80 81 82 80 87 F5")
            << "line[-] Коррекция ослабления (МВ, ГМВ): 12 7";
        QTest::newRow("not registered")
            << Outcome::NotRegistered << 0 << 0 << Bytes("F4 80 80 80 80 80 80 80 80 F5")
            << "line[-] Коррекция ослабления: ??";
        QTest::newRow("register unreadable: zeros, and the line says so")
            << Outcome::Unreadable << 12 << 7 << Bytes("F4 80 80 80 80 80 80 80 80 F5")
            << "line[-] Коррекция ослабления: ошибка чтения таблицы РВ.db";
        QTest::newRow("150 is sent as 99")
            << Outcome::Found << 150 << 3 << Bytes("F4 80 80 80 80 89 89 80 83 F5")
            << "line[-] Коррекция ослабления (МВ, ГМВ): 99 3";
        QTest::newRow("300 and -1 are held within 0..99")
            << Outcome::Found << 300 << -1 << Bytes("F4 80 80 80 80 89 89 80 80 F5")
            << "line[-] Коррекция ослабления (МВ, ГМВ): 99 0";
    }

    void attenuationRequest()
    {
        QFETCH(AttenuationLookup::Outcome, outcome);
        QFETCH(int, mv);
        QFETCH(int, gmv);
        QFETCH(QByteArray, sent);
        QFETCH(QString, line);
        Fixture f;
        MapLookup lookup;
        if (outcome != AttenuationLookup::Outcome::NotRegistered) {
            lookup.rows.insert(QStringLiteral("0012345"), { mv, gmv });
        }
        lookup.unreadable = outcome == AttenuationLookup::Outcome::Unreadable;
        f.receiver.statusCodes().setAttenuationLookup(&lookup);
        f.station.numbers.LocoNumber = QStringLiteral("0012345");
        f.feed(Bytes("CC"));
        QCOMPARE(lookup.lookedUp, QStringList { "0012345" });
        QCOMPARE(f.port.written.toHex(' '), sent.toHex(' '));
        QCOMPARE(f.view.events, QStringList { line });
        QCOMPARE(f.buffer.Count(), 0);
    }

    void attenuationRequestWithoutRegister()
    {
        Fixture f;
        f.feed(Bytes("CC"));
        QCOMPARE(f.port.written, Bytes("F4 80 80 80 80 80 80 80 80 F5"));
    }

    void attenuationReplyFollowsAFailedSend()
    {
        Fixture f;
        f.port.accept = 0;
        f.buffer.Start();
        f.buffer.append(0xD0);
        f.sender.SendCommand(); // refused: the reset stays counted
        f.port.accept = 1 << 20;
        f.feed(Bytes("CC"));
        QCOMPARE(f.port.written, Bytes("D0 F4 80 80 80 80 80 80 80 80 F5"));
    }

    void collection()
    {
        Fixture f;
        f.station.test.startCollecting(1);
        f.feed(Bytes("E2 80 80 80 80 80 80 80 81 E3")); // test 1: collected
        f.feed(Bytes("E2 80 80 80 80 80 80 80 82 E3")); // test 2: dropped
        f.feed(Bytes("E8 80 83 81 81 81 81 81 81 E9")); // not a result frame: handled
        QCOMPARE(f.station.test.collectedCount, 1);
        const MessageFrame &kept = f.station.test.TestCollection[0];
        QCOMPARE(kept.Code, 0xE2);
        QCOMPARE(kept.State, int(MessageFrame::Complete));
        QCOMPARE(kept.Count, 8);
        QCOMPARE(kept.Nibble[7], 1);
        QCOMPARE(f.station.params.ToolWord, QStringLiteral("03111111"));
        QCOMPARE(f.view.events, QStringList { "service word" });

        for (int i = 0; i < 12; ++i) {
            f.feed(Bytes("E2 81 80 80 80 80 80 80 81 E3"));
        }
        QCOMPARE(f.station.test.collectedCount, TestState::CollectionCapacity);
    }

    void stationInitiatedTestStartsACollection()
    {
        Fixture f;
        f.feed(Bytes("E2 80 81 80 80 80 80 80 83 E3"));
        QCOMPARE(f.station.test.CollectingTest, 3);
        QCOMPARE(f.station.test.collectedCount, 1);
        QCOMPARE(f.station.test.TestCollection[0].Nibble[1], 1);
    }

    void parameterReports()
    {
        Fixture f;
        f.feed(Bytes("E4 80 82 81 82 83 80 84 85 E5")); // group 2
        f.feed(Bytes("E4 80 84 89 89 89 88 88 88 E5")); // group 4
        f.feed(Bytes("E4 80 85 81 81 81 81 81 81 E5")); // no group 5
        f.feed(Bytes("EA 80 80 81 82 83 84 85 86 EB"));
        f.feed(Bytes("EA 80 81 80 81 80 82 80 83 EB"));
        f.feed(Bytes("EA 80 82 84 85 80 87 81 80 EB"));
        f.feed(Bytes("F6 80 80 81 82 83 8A 8B 8C F7"));
        f.feed(Bytes("E8 80 8A 81 81 81 81 81 81 E9"));
        const StationParameters &p = f.station.params;
        QCOMPARE(p.PrmMv2, QStringLiteral("123"));
        QCOMPARE(p.PrdMv2, QStringLiteral("045"));
        QCOMPARE(p.PrmMv4, QStringLiteral("999"));
        QCOMPARE(p.PrdMv4, QStringLiteral("888"));
        QCOMPARE(p.PrmMv1, QStringLiteral("000"));
        QCOMPARE(p.DeviacD + p.DeviacM + p.DeviacG, QStringLiteral("123456"));
        QCOMPARE(p.Deviacd2 + p.DeviacM2 + p.DeviacG2, QStringLiteral("010203"));
        QCOMPARE(p.reserv + p.Osl_mw + p.osl_gmw, QStringLiteral("450710"));
        QCOMPARE(p.ProgramVersion, QStringLiteral("123ABC"));
        QCOMPARE(p.ToolWord, QStringLiteral("0A111111")); // held as reported
    }

    void numbersAndMeasurements()
    {
        Fixture f;
        f.feed(Bytes("EC 80 80 80 80 80 81 80 80 ED EE 80 80 80 80 80 80 80 82 EF"));
        f.feed(Bytes("EA 80 83 81 82 83 84 85 86 EB EA 80 84 83 80 87 84 81 85 EB"));
        QCOMPARE(f.station.ReceivedTrainNumber, QStringLiteral("0001"));
        QCOMPARE(f.station.numbers.TrainNumber, QStringLiteral("0001"));
        QCOMPARE(f.station.ReceivedLocoNumber, QStringLiteral("0000002"));
        QCOMPARE(f.station.numbers.LocoNumber, QStringLiteral("0000002"));
        const Measurements &m = f.station.measurements;
        QCOMPARE(m.DeviacD + m.DeviacM + m.DeviacG, QStringLiteral("123456"));
        QCOMPARE(m.MvVerdict, QLatin1Char('3'));
        QCOMPARE(m.MvAttenuation, QStringLiteral("07"));
        QCOMPARE(m.GmvVerdict, QLatin1Char('4'));
        QCOMPARE(m.GmvAttenuation, QStringLiteral("15"));
    }

    void factoryNumbers()
    {
        Fixture f;
        f.feed(Bytes("F8 81 82 83 84 85 86 80 82 F9")); // block 12: cells 9..12 of block 1
        f.feed(Bytes("F8 84 81 89 88 87 86 81 85 F9")); // block 41: cells 13..16 of block 8
        f.feed(Bytes("F8 81 83 81 81 81 81 80 83 F9")); // bad check: nothing
        QCOMPARE(f.station.factoryDigits.cell(1, 9), 3);
        QCOMPARE(f.station.factoryDigits.cell(1, 12), 6);
        QCOMPARE(f.station.factoryDigits.cell(1, 13), 0);
        QCOMPARE(f.station.factoryDigits.cell(8, 13), 9);
        QCOMPARE(f.station.factoryDigits.cell(8, 16), 6);
        QCOMPARE(f.station.factoryDigits.cell(1, 5), 0);
        f.feed(Bytes("C0"));
        QCOMPARE(f.station.factoryDigits.cell(1, 9), 0);
    }
};

QTEST_GUILESS_MAIN(TestStationReceiver)
#include "tst_stationreceiver.moc"
