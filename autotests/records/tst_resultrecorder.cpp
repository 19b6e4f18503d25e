#include "fakeclock.h"
#include "fakemessages.h"
#include "records/resultrecorder.h"
#include "records/tableschema.h"
#include "shared/currentnumbers.h"
#include "shared/measurements.h"
#include "shared/stationparameters.h"
#include "tabletexts.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    StationParameters parameters;
    CurrentNumbers numbers;
    Measurements measurements;
    BandMessages flags;
    FakeClock clock { QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7, 42)) };
    FakeMessages messages;
    ResultRecorder recorder { dir.path(), parameters, numbers, measurements, flags, clock,
        messages };

    Fixture()
    {
        parameters.Mehanik = QStringLiteral("9316");
        parameters.ToolWord = QStringLiteral("01311111");
        parameters.PrmMv1 = QStringLiteral("011");
        parameters.PrdMv1 = QStringLiteral("012");
        parameters.PrmMv2 = QStringLiteral("021");
        parameters.PrdMv2 = QStringLiteral("022");
        parameters.PrmMv3 = QStringLiteral("031");
        parameters.PrdMv3 = QStringLiteral("032");
        parameters.DeviacD = QStringLiteral("41");
        parameters.DeviacM = QStringLiteral("42");
        parameters.DeviacG = QStringLiteral("43");
        parameters.Deviacd2 = QStringLiteral("21");
        parameters.DeviacM2 = QStringLiteral("22");
        parameters.DeviacG2 = QStringLiteral("23");
        parameters.Osl_mw = QStringLiteral("15");
        parameters.osl_gmw = QStringLiteral("16");
        parameters.reserv = QStringLiteral("3F");
    }

    QList<QStringList> rows(const TableSchema &schema) { return TableTexts(dir.path(), schema); }

    QString path(const QString &fileName) const { return dir.filePath(fileName); }
};

const QString SelfTestEvent = QStringLiteral("Тест 1");

} // namespace

class TestResultRecorder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selfTestAndParameterRows_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("word");
        QTest::newRow("self-test without answer") << SelfTestEvent << "?"
                                                  << "Брак";
        QTest::newRow("self-test normal") << SelfTestEvent << "0000000"
                                          << "Норма";
        QTest::newRow("parameter set sent") << "Запись"
                                            << ""
                                            << "";
    }

    void selfTestAndParameterRows()
    {
        QFETCH(QString, event);
        QFETCH(QString, code);
        QFETCH(QString, word);
        Fixture f;
        QVERIFY(!QFile::exists(f.path("tests1.DB")));
        QVERIFY(f.recorder.WriteToTable1(event, code, word));
        const QList<QStringList> expected { { "2026-12-10", "09:05:07.042", event, "9316", word,
            code, "01311111", "011", "012", "021", "022", "031", "032", "41", "42", "43", "21",
            "22", "23", "15", "16", "3F" } };
        QCOMPARE(f.rows(Tests1Schema()), expected);
        QVERIFY(f.messages.errors.isEmpty());
        QVERIFY(!QFile::exists(f.path("Test23.DB")));
    }

    void parametersAreTakenAtTheMomentOfWriting()
    {
        Fixture f;
        f.recorder.WriteToTable1(SelfTestEvent, "0000000", "Норма");
        f.parameters.DeviacD = QStringLiteral("55");
        f.clock.advance(1500);
        f.recorder.WriteToTable1(SelfTestEvent, "0000000", "Норма");
        const auto rows = f.rows(Tests1Schema());
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][13], "41");
        QCOMPARE(rows[1][13], "55");
        QCOMPARE(rows[1][1], "09:05:08.542");
    }

    void radioTestRowThenFlagsReset_data()
    {
        QTest::addColumn<QChar>("mvVerdict");
        QTest::addColumn<QChar>("gmvVerdict");
        QTest::addColumn<QString>("mvText");
        QTest::addColumn<QString>("gmvText");
        QTest::newRow("not measured") << QChar(u'0') << QChar(u'0') << "0"
                                      << "0";
        QTest::newRow("fault and normal") << QChar(u'3') << QChar(u'4') << "Брак:3"
                                          << "Норма:4";
    }

    void radioTestRowThenFlagsReset()
    {
        QFETCH(QChar, mvVerdict);
        QFETCH(QChar, gmvVerdict);
        QFETCH(QString, mvText);
        QFETCH(QString, gmvText);
        Fixture f;
        f.numbers.TrainNumber = QStringLiteral("0815");
        f.numbers.LocoNumber = QStringLiteral("0004711");
        f.measurements.DeviacD = QStringLiteral("31");
        f.measurements.DeviacM = QStringLiteral("32");
        f.measurements.DeviacG = QStringLiteral("33");
        f.measurements.MvVerdict = mvVerdict;
        f.measurements.MvAttenuation = QStringLiteral("07");
        f.measurements.GmvVerdict = gmvVerdict;
        f.measurements.GmvAttenuation = QStringLiteral("08");
        f.flags.markReceived(0xB0); // ДМВ position 5
        f.flags.markReceived(0xBF); // ГМВ position 1
        f.flags.markReceived(0xB5); // МВ position 4

        QVERIFY(f.recorder.WriteToTable2("Тест 3", "0000001", "Норма", "От РВ"));

        const QList<QStringList> expected { { "2026-12-10", "09:05:07.042", "Тест 3", "От РВ",
            "9316", "0815", "0004711", "Норма", "0000001", "31", "32", "33", mvText, "07", gmvText,
            "08", "00001", "10000", "00010" } };
        QCOMPARE(f.rows(Test23Schema()), expected);
        QCOMPARE(f.flags.MesD + f.flags.MesG + f.flags.MesM, QStringLiteral("000000000000000"));
        QCOMPARE(f.measurements.DeviacM, QStringLiteral("32")); // stays on show
        QVERIFY(!QFile::exists(f.path("tests1.DB")));
    }

    void radioTestWithoutAnswerKeepsMeasurementsAndFlags()
    {
        Fixture f;
        f.measurements.DeviacG = QStringLiteral("12");
        f.flags.markReceived(0xBA);
        f.recorder.WriteToTable2("Тест 2", "?", "Брак", "От ТЕЛВ");
        const auto rows = f.rows(Test23Schema());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(7, 5), (QStringList { "Брак", "?", "00", "00", "12" }));
        QCOMPARE(rows[0].mid(16), (QStringList { "01000", "00000", "00000" }));
    }

    void longValuesAreCutToTheirFields()
    {
        Fixture f;
        f.numbers.LocoNumber = QStringLiteral("123456789");
        f.numbers.TrainNumber = QStringLiteral("123456");
        f.parameters.Mehanik = QStringLiteral("Иванов-Петров-Сидоров");
        f.recorder.WriteToTable2("Тест 2", "0000000", "Норма", "От ТЕЛВ");
        const auto rows = f.rows(Test23Schema());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(4, 3), (QStringList { "Иванов-Петров", "1234", "12345678" }));
    }

    void resultsWithinOneMillisecondMakeTwoRows()
    {
        Fixture f;
        f.recorder.WriteToTable1(SelfTestEvent, "0000000", "Норма");
        f.recorder.WriteToTable1(SelfTestEvent, "0000000", "Норма");
        const auto rows = f.rows(Tests1Schema());
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], rows[1]);
    }

    void failedRowIsReportedAndTheFileLeftAlone_data()
    {
        QTest::addColumn<bool>("radioTest");
        QTest::newRow("tests1.DB") << false;
        QTest::newRow("Test23.DB") << true;
    }

    void failedRowIsReportedAndTheFileLeftAlone()
    {
        QFETCH(bool, radioTest);
        Fixture f;
        const QString fileName
            = radioTest ? QStringLiteral("Test23.DB") : QStringLiteral("tests1.DB");
        const QByteArray foreign("not a table of ours\n");
        {
            QFile file(f.path(fileName));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(foreign);
        }
        f.flags.markReceived(0xB0);

        const bool written = radioTest ? f.recorder.WriteToTable2("Тест 2", "?", "Брак", "От ТЕЛВ")
                                       : f.recorder.WriteToTable1(SelfTestEvent, "?", "Брак");

        QVERIFY(!written);
        QCOMPARE(f.messages.errors.size(), 1);
        const QString error = f.messages.errors.first();
        QVERIFY2(error.startsWith(QStringLiteral("Не удается записать результат в таблицу ")
                     + fileName + QStringLiteral(": ")),
            qPrintable(error));
        QVERIFY2(error.size() > 45, qPrintable(error)); // the reason follows the prefix
        QFile file(f.path(fileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), foreign);
        // Band flags are reset after a radio test although nothing was written.
        QCOMPARE(f.flags.MesD, radioTest ? QStringLiteral("00000") : QStringLiteral("00001"));
    }

    void missingDatabaseDirectoryIsReported()
    {
        Fixture f;
        StationParameters parameters;
        ResultRecorder recorder(f.path("gone/away"), parameters, f.numbers, f.measurements, f.flags,
            f.clock, f.messages);
        QVERIFY(!recorder.WriteToTable1(SelfTestEvent, "0000000", "Норма"));
        QCOMPARE(f.messages.errors.size(), 1);
    }

    void clearMeasurementsResetsAndTellsTheWindow()
    {
        Fixture f;
        QSignalSpy cleared(&f.recorder, &ResultRecorder::measurementsCleared);
        f.measurements.DeviacD = QStringLiteral("99");
        f.measurements.MvVerdict = u'3';
        f.measurements.GmvAttenuation = QStringLiteral("12");
        f.flags.markReceived(0xB0);
        f.recorder.ClearMeasurements();
        QCOMPARE(cleared.count(), 1);
        const Measurements fresh;
        QCOMPARE(f.measurements.DeviacD, fresh.DeviacD);
        QCOMPARE(f.measurements.MvVerdict, QChar(u'0'));
        QCOMPARE(f.measurements.GmvAttenuation, QStringLiteral("00"));
        QCOMPARE(f.flags.MesD, QStringLiteral("00001")); // band flags are not measurements
    }
};

QTEST_GUILESS_MAIN(TestResultRecorder)
#include "tst_resultrecorder.moc"
