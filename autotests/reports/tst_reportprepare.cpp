#include "reports/reportprepare.h"
#include "reports/reportrows.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTest>

namespace {

// Portrait A4 with 10 mm margins leaves 277 mm: a 10.6 mm page header, a 17 mm title
// and detail bands of 12.47 mm, so exactly 20 rows fill the first page (their sum
// rounds to a little over 277) and 21 the others.
ReportLayout PaginationLayout(qreal columnHeaderMm, qreal detailMm = 12.47)
{
    ReportLayout layout;
    layout.marginsMm = QMarginsF(10, 10, 10, 10);
    layout.pageHeader = ReportBand { 10.6, {}, { ReportItem::pageNumber(1, "Страница:") }, {} };
    layout.title = ReportBand { 17, {}, { ReportItem::literal(0, 1, "Заголовок") }, {} };
    if (columnHeaderMm > 0) {
        layout.columnHeader = ReportBand { columnHeaderMm, AllReportSides, {}, {} };
    }
    layout.detail = ReportBand { detailMm, {}, { ReportItem::field(1, 1, "N") }, {} };
    return layout;
}

QList<QStringList> NumberedRows(int count)
{
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        rows.append({ QString::number(i) });
    }
    return rows;
}

} // namespace

class TestReportPrepare : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery query;
        QVERIFY(query.exec("create table results (Date text, Time text, Loko text)"));
        QVERIFY(QSqlDatabase::database().transaction());
        query.prepare("insert into results values (?, ?, ?)");
        for (int i = 0; i < 600; ++i) {
            query.addBindValue(QString("2026-12-%1").arg(i % 28 + 1, 2, 10, QChar('0')));
            query.addBindValue(QString("10:%1").arg(i % 60, 2, 10, QChar('0')));
            query.addBindValue(QString::number(1000000 + i));
            QVERIFY(query.exec());
        }
        QVERIFY(QSqlDatabase::database().commit());
    }

    void rowsFillPagesBelowTheHeaders_data()
    {
        QTest::addColumn<qreal>("columnHeaderMm");
        QTest::addColumn<qreal>("detailMm");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("rowsOnFirstPage");
        QTest::addColumn<int>("rowsOnLastPage");

        QTest::newRow("no rows: one page of headers") << 0.0 << 12.47 << 0 << 1 << 0 << 0;
        QTest::newRow("one row") << 0.0 << 12.47 << 1 << 1 << 1 << 1;
        QTest::newRow("first page filled exactly") << 0.0 << 12.47 << 20 << 1 << 20 << 20;
        QTest::newRow("one row over") << 0.0 << 12.47 << 21 << 2 << 20 << 1;
        QTest::newRow("later pages have no title") << 0.0 << 12.47 << 41 << 2 << 20 << 21;
        QTest::newRow("third page") << 0.0 << 12.47 << 42 << 3 << 20 << 1;
        QTest::newRow("column header on every page") << 5.0 << 12.47 << 39 << 2 << 19 << 20;
        QTest::newRow("column header, third page") << 5.0 << 12.47 << 40 << 3 << 19 << 1;
        QTest::newRow("band taller than a page") << 0.0 << 300.0 << 3 << 3 << 1 << 1;
    }

    void rowsFillPagesBelowTheHeaders()
    {
        QFETCH(qreal, columnHeaderMm);
        QFETCH(qreal, detailMm);
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(int, rowsOnFirstPage);
        QFETCH(int, rowsOnLastPage);

        const QList<QStringList> data = NumberedRows(rows);
        ReportRowList source({ "N" }, data);
        const PreparedReport report
            = PrepareReport(PaginationLayout(columnHeaderMm, detailMm), source);
        QVERIFY(report.isReady());
        QCOMPARE(report.pageCount(), pages);
        QCOMPARE(report.page(0).rowCount, rowsOnFirstPage);
        QCOMPARE(report.page(pages - 1).rowCount, rowsOnLastPage);
        qsizetype next = 0; // pages cover the rows in order, none twice
        for (int i = 0; i < report.pageCount(); ++i) {
            QCOMPARE(report.page(i).firstRow, next);
            next += report.page(i).rowCount;
        }
        QCOMPARE(next, rows);
        QCOMPARE(report.rowCount(), rows);
    }

    void eachPageStartsBeforeItsFirstDetail()
    {
        const QList<QStringList> data = NumberedRows(22);
        ReportRowList source({ "N" }, data);
        QStringList events;
        ReportHooks hooks;
        hooks.startOfPage = [&](int page, ReportValues &values) {
            events.append(QString("page %1").arg(page));
            values.texts.insert("stamp", QString("stamp %1").arg(page));
        };
        hooks.beforeDetail
            = [&](const ReportRow &row, ReportValues &) { events.append("row " + row.value("N")); };
        const PreparedReport report = PrepareReport(PaginationLayout(0), source, hooks);
        QVERIFY(report.isReady());
        QStringList expected { "page 1" };
        for (int i = 0; i < 22; ++i) {
            if (i == 20) {
                expected.append("page 2");
            }
            expected.append(QString("row %1").arg(i));
        }
        QCOMPARE(events, expected);
        QCOMPARE(report.page(0).values.texts.value("stamp"), QString("stamp 1"));
        QCOMPARE(report.page(1).values.texts.value("stamp"), QString("stamp 2"));
    }

    void detailValuesBelongToTheirRow()
    {
        const QList<QStringList> data = NumberedRows(5);
        ReportRowList source({ "N" }, data);
        ReportHooks hooks;
        hooks.beforeDetail = [](const ReportRow &row, ReportValues &values) {
            if (row.index % 2 == 1) { // rows without values cost nothing
                values.lines.insert("result", { { "строка " + row.value("N"), Qt::red } });
            }
        };
        const PreparedReport report = PrepareReport(PaginationLayout(0), source, hooks);
        for (int row = 0; row < 5; ++row) {
            const ReportLines lines = report.detailValues(row).lines.value("result");
            if (row % 2 == 1) {
                QCOMPARE(lines, ReportLines({ { "строка " + QString::number(row), Qt::red } }));
            } else {
                QVERIFY(lines.isEmpty());
            }
        }
    }

    void rowsAreTakenOnceIntoTheReport()
    {
        QList<QStringList> data = NumberedRows(3);
        ReportRowList source({ "N" }, data);
        const PreparedReport report = PrepareReport(PaginationLayout(0), source);
        data[0][0] = "changed";
        data.append({ "added" });
        QCOMPARE(report.rowCount(), 3);
        QCOMPARE(report.fieldText(0, "N"), QString("0"));
        QCOMPARE(report.page(0).rowCount, 3);
    }

    void shortRowsPrintEmptyFields()
    {
        const QList<QStringList> data { { "1" }, {} };
        ReportRowList source({ "N", "M" }, data);
        ReportLayout layout = PaginationLayout(0);
        layout.detail.items.append(ReportItem::field(20, 1, "M"));
        const PreparedReport report = PrepareReport(layout, source);
        QVERIFY(report.isReady());
        QCOMPARE(report.fieldText(0, "M"), QString());
        QCOMPARE(report.fieldText(1, "N"), QString());
        QCOMPARE(report.fieldText(5, "N"), QString()); // no such row
    }

    void layoutNamingAnUnknownFieldFails()
    {
        const QList<QStringList> data = NumberedRows(2);
        ReportRowList source({ "N" }, data);
        ReportLayout layout = PaginationLayout(0);
        layout.detail.items.append(ReportItem::field(20, 1, "Loko"));
        layout.pageHeader->items.append(ReportItem::field(20, 1, "Train"));
        const PreparedReport report = PrepareReport(layout, source);
        QCOMPARE(report.status(), PreparedReport::Status::Failed);
        QVERIFY2(report.errorString().contains("Loko") && report.errorString().contains("Train"),
            qPrintable(report.errorString()));
    }

    void progressSeesTheRowsAndCanCancel_data()
    {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<int>("status");
        QTest::newRow("runs to the end") << -1 << int(PreparedReport::Status::Ready);
        QTest::newRow("cancelled midway") << 200 << int(PreparedReport::Status::Cancelled);
        QTest::newRow("cancelled at the end") << 250 << int(PreparedReport::Status::Cancelled);
    }

    void progressSeesTheRowsAndCanCancel()
    {
        QFETCH(int, cancelAt);
        QFETCH(int, status);
        const QList<QStringList> data = NumberedRows(250);
        ReportRowList source({ "N" }, data);
        QList<qsizetype> seen;
        QList<qsizetype> expectedSeen;
        ReportHooks hooks;
        hooks.progress = [&](qsizetype taken, qsizetype expected) {
            seen.append(taken);
            expectedSeen.append(expected);
            return taken != cancelAt;
        };
        const PreparedReport report = PrepareReport(PaginationLayout(0), source, hooks);
        QCOMPARE(int(report.status()), status);
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.last(), cancelAt < 0 ? 250 : cancelAt);
        QCOMPARE(expectedSeen, QList<qsizetype>(seen.size(), 250));
    }

    void queryRowsAreFormattedByField()
    {
        QSqlQuery query;
        QVERIFY(query.exec("select Date, Time, Loko from results where rowid <= 2 order by rowid"));
        ReportQueryRows source(query, [](const QString &field, const QVariant &value) {
            return field == "Date"
                ? QDate::fromString(value.toString(), Qt::ISODate).toString("dd/MM/yy")
                : value.toString();
        });
        QCOMPARE(source.fieldNames(), QStringList({ "Date", "Time", "Loko" }));
        ReportLayout layout = PaginationLayout(0);
        layout.detail.items = { ReportItem::field(1, 1, "Date"), ReportItem::field(20, 1, "Loko") };
        const PreparedReport report = PrepareReport(layout, source);
        QVERIFY(report.isReady());
        QCOMPARE(report.rowCount(), 2);
        QCOMPARE(report.fieldText(0, "Date"), QString("01/12/26"));
        QCOMPARE(report.fieldText(1, "Date"), QString("02/12/26"));
        QCOMPARE(report.fieldText(1, "Loko"), QString("1000001"));
    }

    void failedQueryFailsTheReport()
    {
        QSqlQuery query;
        QVERIFY(!query.exec("select * from missing_table"));
        ReportQueryRows source(query);
        ReportLayout layout = PaginationLayout(0);
        layout.detail.items.clear();
        const PreparedReport report = PrepareReport(layout, source);
        QCOMPARE(report.status(), PreparedReport::Status::Failed);
        QVERIFY2(report.errorString().contains("missing_table"), qPrintable(report.errorString()));
    }

    void modelRowsIncludeRowsNotYetFetched_data()
    {
        QTest::addColumn<bool>("evenOnly");
        QTest::addColumn<int>("rows");
        QTest::newRow("all rows") << false << 600;
        QTest::newRow("chosen rows, in table order") << true << 300;
    }

    void modelRowsIncludeRowsNotYetFetched()
    {
        QFETCH(bool, evenOnly);
        QFETCH(int, rows);
        QSqlQueryModel model;
        model.setQuery("select Loko, Date from results order by rowid");
        QVERIFY(model.rowCount() < 600); // the model loads its rows in chunks
        ReportModelRows source(model, { "Loko", "Date" },
            evenOnly ? std::function<bool(int)>([](int r) { return r % 2 == 0; })
                     : std::function<bool(int)>());
        ReportLayout layout = PaginationLayout(0);
        layout.detail.items = { ReportItem::field(1, 1, "Loko") };
        const PreparedReport report = PrepareReport(layout, source);
        QVERIFY(report.isReady());
        QCOMPARE(report.rowCount(), rows);
        const int step = evenOnly ? 2 : 1;
        for (int i = 0; i < rows; ++i) {
            QCOMPARE(report.fieldText(i, "Loko"), QString::number(1000000 + i * step));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportPrepare)
#include "tst_reportprepare.moc"
