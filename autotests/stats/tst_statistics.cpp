#include "statisticsfixture.h"
#include "throwawaycluster.h"

#include "records/databasetable.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"
#include "stats/statisticsqueries.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <list>
#include <memory>

using namespace StatisticsFixture;

char *toString(const PeriodCount &p)
{
    return qstrdup(QStringLiteral("%1: %2/%3").arg(p.start.toString(Qt::ISODate)).arg(p.tests).arg(p.faulty).toUtf8());
}

char *toString(const NamedCount &c)
{
    return qstrdup(QStringLiteral("%1: %2").arg(c.name).arg(c.count).toUtf8());
}

namespace {

const QString Bad = QStringLiteral("Брак");
const QString Good = QStringLiteral("Норма");

struct OpenTable
{
    QTemporaryDir dir;
    DatabaseTable table;

    OpenTable(const TableSchema &schema, const QList<QVariantList> &rows)
        : table(dir.path(), schema)
    {
        if (!ResultTables::Append(dir.path(), schema, rows)) {
            qFatal("fixture not written");
        }
        table.open(DatabaseTable::OpenMode::ExistingOnly);
    }
};

StatisticsRequest Quarter(PeriodStep step = PeriodStep::Month)
{
    return { QDate(2024, 1, 1), QDate(2024, 3, 31), step, std::nullopt };
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ThrowawayCluster> m_cluster;
    std::list<QTemporaryDir> m_dirs;

private Q_SLOTS:
    // The same counts from a PostgreSQL server, where the period of a day comes from
    // the server's own date functions.
    void countsTheSameOnAServer()
    {
        m_cluster = std::make_unique<ThrowawayCluster>();
        QVERIFY2(m_cluster->isRunning(), qPrintable(m_cluster->errorText()));
        const DatabaseLocation location { m_dirs.emplace_back().path(), m_cluster->newDatabase() };
        QList<QVariantList> rows = QuarterRows();
        rows.append(RadioRow(QDate(2024, 1, 7), LocoB, "Тест 2", Good, "0000000")); // a Sunday
        const auto fill = [&](const TableSchema &schema, const QList<QVariantList> &values) {
            DatabaseTable table(location, schema);
            bool ok = table.open(DatabaseTable::OpenMode::OpenOrCreate);
            for (const QVariantList &row : values) {
                ok = ok && table.append(row);
            }
            return ok;
        };
        QVERIFY(fill(Test23Schema(), rows));
        QVERIFY(fill(Tests1Schema(),
            { ResultTables::SelfTestRow(QDate(2024, 1, 2), "9316"),
                ResultTables::SelfTestRow(QDate(2024, 3, 9), "9316", "Тест 1", "0000020") }));

        DatabaseTable radio(location, Test23Schema());
        QVERIFY(radio.open(DatabaseTable::OpenMode::ExistingOnly));
        RadioTestStatistics months;
        QString error;
        QVERIFY2(ReadRadioTestStatistics(radio, Quarter(), &months, &error), qPrintable(error));
        QCOMPARE(months.periods,
            (QList<PeriodCount> { { QDate(2024, 1, 1), 4, 3 }, { QDate(2024, 2, 1), 3, 2 },
                { QDate(2024, 3, 1), 2, 1 } }));
        QCOMPARE(months.bands, (QList<NamedCount> { { "ДМВ", 1 }, { "МВ", 2 }, { "ГМВ", 1 } }));
        QCOMPARE(months.faultKinds.size(), 7);
        QCOMPARE(months.locomotives.first(), (NamedCount { LocoA, 4 }));

        RadioTestStatistics weeks;
        QVERIFY2(ReadRadioTestStatistics(radio,
                     { QDate(2024, 1, 1), QDate(2024, 1, 21), PeriodStep::Week, std::nullopt },
                     &weeks, &error),
            qPrintable(error));
        QCOMPARE(weeks.periods,
            (QList<PeriodCount> { { QDate(2024, 1, 1), 2, 1 }, { QDate(2024, 1, 8), 0, 0 },
                { QDate(2024, 1, 15), 1, 1 } }));

        DatabaseTable selfTests(location, Tests1Schema());
        QVERIFY(selfTests.open(DatabaseTable::OpenMode::ExistingOnly));
        SelfTestStatistics self;
        QVERIFY2(ReadSelfTestStatistics(selfTests, Quarter(), &self, &error), qPrintable(error));
        QCOMPARE(self.tests, 2);
        QCOMPARE(self.faulty, 1);
        m_cluster.reset();
    }

    void periodsOfARange_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<QDate>>("starts");
        QTest::newRow("weeks across the new year") << QDate(2024, 12, 25) << QDate(2025, 1, 6)
                                                   << int(PeriodStep::Week)
                                                   << QList<QDate> { QDate(2024, 12, 23),
                                                          QDate(2024, 12, 30), QDate(2025, 1, 6) };
        QTest::newRow("one Sunday") << QDate(2025, 1, 5) << QDate(2025, 1, 5)
                                    << int(PeriodStep::Week) << QList<QDate> { QDate(2024, 12, 30) };
        QTest::newRow("months from the 31st") << QDate(2024, 1, 31) << QDate(2024, 3, 1)
                                              << int(PeriodStep::Month)
                                              << QList<QDate> { QDate(2024, 1, 1), QDate(2024, 2, 1),
                                                     QDate(2024, 3, 1) };
        QTest::newRow("from after to") << QDate(2024, 3, 1) << QDate(2024, 2, 1)
                                       << int(PeriodStep::Month) << QList<QDate> {};
    }

    void periodsOfARange()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(int, step);
        QFETCH(QList<QDate>, starts);
        QCOMPARE(PeriodStarts(from, to, PeriodStep(step)), starts);
    }

    // The engine's period of a row must be the period the axis shows, or the row is lost.
    void engineGroupsDaysIntoTheSamePeriods()
    {
        QList<QVariantList> rows;
        for (const QDate &day : { QDate(2024, 12, 25), QDate(2024, 12, 29), QDate(2024, 12, 30),
                 QDate(2025, 1, 1), QDate(2025, 1, 5), QDate(2025, 1, 6) }) {
            rows.append(RadioRow(day, LocoA, "Тест 2", Good, "0000000"));
        }
        OpenTable fixture(Test23Schema(), rows);
        RadioTestStatistics weeks;
        QString error;
        QVERIFY2(ReadRadioTestStatistics(fixture.table,
                     { QDate(2024, 12, 25), QDate(2025, 1, 6), PeriodStep::Week, std::nullopt },
                     &weeks, &error),
            qPrintable(error));
        QCOMPARE(weeks.periods,
            (QList<PeriodCount> { { QDate(2024, 12, 23), 2, 0 }, { QDate(2024, 12, 30), 3, 0 },
                { QDate(2025, 1, 6), 1, 0 } }));

        RadioTestStatistics months;
        QVERIFY(ReadRadioTestStatistics(fixture.table,
            { QDate(2024, 12, 1), QDate(2025, 1, 31), PeriodStep::Month, std::nullopt }, &months,
            &error));
        QCOMPARE(months.periods,
            (QList<PeriodCount> { { QDate(2024, 12, 1), 3, 0 }, { QDate(2025, 1, 1), 3, 0 } }));
    }

    void countsAQuarterOfRadioTests()
    {
        OpenTable fixture(Test23Schema(), QuarterRows());
        RadioTestStatistics s;
        QString error;
        QVERIFY2(ReadRadioTestStatistics(fixture.table, Quarter(), &s, &error), qPrintable(error));

        QCOMPARE(s.tests, 8);
        QCOMPARE(s.faulty, 6);
        QCOMPARE(s.periods,
            (QList<PeriodCount> { { QDate(2024, 1, 1), 3, 3 }, { QDate(2024, 2, 1), 3, 2 },
                { QDate(2024, 3, 1), 2, 1 } }));
        QCOMPARE(s.bands,
            (QList<NamedCount> { { "ДМВ", 1 }, { "МВ", 2 }, { "ГМВ", 1 } }));
        QCOMPARE(s.faultKinds,
            (QList<NamedCount> {
                { "Брак МВ", 2 },
                { "Брак ДМВ", 1 },
                { "Брак девиации ГМВ", 1 },
                { "Девиация не измерялась ДМВ", 1 },
                { "Девиация не измерялась МВ", 1 },
                { "Нераспознанный код результата", 1 },
                { "Нет ответа", 1 },
            }));
        QCOMPARE(s.locomotives,
            (QList<NamedCount> { { LocoA, 4 }, { LocoB, 1 }, { LocoC, 1 } }));
    }

    void countsOneLocomotiveOnly()
    {
        OpenTable fixture(Test23Schema(), QuarterRows());
        StatisticsRequest request = Quarter();
        request.locomotive = LocoB;
        RadioTestStatistics s;
        QString error;
        QVERIFY(ReadRadioTestStatistics(fixture.table, request, &s, &error));
        QCOMPARE(s.tests, 2);
        QCOMPARE(s.faulty, 1);
        QCOMPARE(s.periods.at(1), (PeriodCount { QDate(2024, 2, 1), 2, 1 }));
        QCOMPARE(s.bands, (QList<NamedCount> { { "ДМВ", 0 }, { "МВ", 0 }, { "ГМВ", 1 } }));
        QCOMPARE(s.locomotives, (QList<NamedCount> { { LocoB, 1 } }));
    }

    void keepsTheTenLocomotivesWithMostFaults()
    {
        QList<QVariantList> rows;
        for (int loko = 1; loko <= 12; ++loko) {
            for (int test = 0; test < loko; ++test) {
                rows.append(RadioRow(QDate(2024, 2, 1), QString::number(loko).rightJustified(7, u'0'),
                    "Тест 2", Bad, "1000000"));
            }
            // Passed tests count for nothing here, however many.
            rows.append(RadioRow(QDate(2024, 2, 2), QString::number(loko).rightJustified(7, u'0'),
                "Тест 2", Good, "0000000"));
        }
        OpenTable fixture(Test23Schema(), rows);
        RadioTestStatistics s;
        QString error;
        QVERIFY(ReadRadioTestStatistics(fixture.table, Quarter(), &s, &error));
        QCOMPARE(s.locomotives.size(), TopLocomotives);
        QCOMPARE(s.locomotives.first(), (NamedCount { "0000012", 12 }));
        QCOMPARE(s.locomotives.last(), (NamedCount { "0000003", 3 }));
    }

    // The engine's grouping of codes must count exactly what decoding every row
    // one by one counts, whatever the digits.
    void bandsAndKindsAgreeWithDecodingEachRow()
    {
        QRandomGenerator random(26);
        const QString digits = QStringLiteral("0000000001234ABCDEFabcfGz");
        QList<QVariantList> rows;
        QHash<QString, qint64> kinds;
        QHash<QString, qint64> bands;
        for (int i = 0; i < 600; ++i) {
            QString code;
            for (int d = 0; d < 7; ++d) {
                code += digits.at(random.bounded(int(digits.size())));
            }
            const QString event = i % 3 ? QStringLiteral("Тест 2") : QStringLiteral("Тест 3");
            rows.append(RadioRow(QDate(2024, 1, 1).addDays(i % 90), LocoA, event, Bad, code));
            QSet<QString> rowBands;
            for (const ResultLine &line :
                ShowRadioTestCode(RecordedTestNumber(event), code, RecordedServiceWord(event))) {
                if (line.colour == FaultColour) {
                    ++kinds[line.text.trimmed()];
                    rowBands.insert(line.text.section(u' ', -1));
                }
            }
            for (const QString &band : std::as_const(rowBands)) {
                ++bands[band];
            }
        }
        OpenTable fixture(Test23Schema(), rows);
        RadioTestStatistics s;
        QString error;
        QVERIFY(ReadRadioTestStatistics(fixture.table, Quarter(), &s, &error));
        QCOMPARE(s.tests, 600);
        for (const NamedCount &band : std::as_const(s.bands)) {
            QCOMPARE(band.count, bands.value(band.name));
        }
        QCOMPARE(s.faultKinds.size(), kinds.size());
        for (const NamedCount &kind : std::as_const(s.faultKinds)) {
            QCOMPARE(kind.count, kinds.value(kind.name));
        }
    }

    void countsStationSelfTests()
    {
        using ResultTables::SelfTestRow;
        OpenTable fixture(Tests1Schema(),
            {
                SelfTestRow(QDate(2024, 1, 2), "9316"),
                SelfTestRow(QDate(2024, 1, 3), "9316", "Тест 1", "8000000"),
                SelfTestRow(QDate(2024, 1, 4), "9316", "Запись"), // a parameter set, no test
                SelfTestRow(QDate(2024, 3, 9), "9316", "Тест 1", "0000020"),
                SelfTestRow(QDate(2024, 4, 1), "9316", "Тест 1", "8000000"), // after the quarter
            });
        SelfTestStatistics s;
        QString error;
        QVERIFY2(ReadSelfTestStatistics(fixture.table, Quarter(), &s, &error), qPrintable(error));
        QCOMPARE(s.tests, 3);
        QCOMPARE(s.faulty, 2);
        QCOMPARE(s.periods,
            (QList<PeriodCount> { { QDate(2024, 1, 1), 2, 1 }, { QDate(2024, 2, 1), 0, 0 },
                { QDate(2024, 3, 1), 1, 1 } }));
    }

    void aClosedTableIsAnError()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), Test23Schema());
        RadioTestStatistics s;
        QString error;
        QVERIFY(!ReadRadioTestStatistics(table, Quarter(), &s, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
