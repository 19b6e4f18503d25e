#include "fakeclock.h"
#include "pdfpages.h"
#include "records/rvregister.h"
#include "reports/reportpainter.h"
#include "reports/reportprepare.h"
#include "reports/reportrows.h"
#include "reports/rvreport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qreal ToleranceMm = 1.0;

} // namespace

// The printed list of the locomotive register, read back from its PDF.
class TestRvReport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void rowsPrintInKeyOrder()
    {
        RvRegister reg(m_dir.filePath("ordered"));
        QVERIFY(QDir().mkpath(m_dir.filePath("ordered")));
        QVERIFY(reg.open());
        for (const char *loco : { "9", "0000003", "123", "5555555" }) {
            QVERIFY(reg.model().append());
            reg.model().setValue("Lokomotiv", QString::fromLatin1(loco));
            reg.model().setValue("OslablenieM", 11);
            reg.model().setValue("OslablenieG", 22);
            QVERIFY(reg.model().post());
        }
        const QList<PdfPage> pages = print(reg);
        QCOMPARE(pages.size(), 1);
        QStringList order;
        for (const PdfWord &word : pages.first().words) {
            if (word.text.size() == 7 && word.text.front().isDigit()) {
                order.append(word.text);
            }
        }
        QCOMPARE(order, (QStringList { "0000003", "0000009", "0000123", "5555555" }));
    }

    void anEmptyRegisterPrintsItsHeaders()
    {
        QVERIFY(QDir().mkpath(m_dir.filePath("empty")));
        RvRegister reg(m_dir.filePath("empty"));
        QVERIFY(reg.open());
        const QList<PdfPage> pages = print(reg);
        QCOMPARE(pages.size(), 1);
        const QString text = pages.first().layoutText;
        for (const char *expected : { "Страница:1", "Распечатано 10/12/26 в 10:05",
                 "Данные о локомотивных РС", "Локомотив", "Ослабление МВ", "Ослабление ГМВ" }) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }
    }

    void itemsStandWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<qreal>("xMm"); // from the left edge of the paper
        QTest::addColumn<qreal>("yMm"); // from the top edge of the paper

        // Left margin 20; bands start at 10 (page header), 20.6 (title),
        // 31.2 (column header) and 41.8 (first detail), each row 9.3 high.
        QTest::newRow("stamp, ending at the band's edge") << "Распечатано" << 151.5 << 12.0;
        QTest::newRow("page number") << "Страница:1" << -1.0 << 14.0;
        QTest::newRow("column Lokomotiv") << "Локомотив" << 24.0 << 33.2;
        QTest::newRow("column MV") << "МВ" << -1.0 << 33.2;
        QTest::newRow("loco of row 1") << "0000001" << 24.0 << 43.8;
        QTest::newRow("MV of row 1") << "12" << 75.0 << 43.8;
        QTest::newRow("GMV of row 1") << "7" << 120.0 << 43.8;
        QTest::newRow("loco of row 2") << "0000002" << 24.0 << 43.8 + 9.3;
    }
    void itemsStandWhereTheLayoutPutsThem()
    {
        QFETCH(QString, word);
        QFETCH(qreal, xMm);
        QFETCH(qreal, yMm);
        QVERIFY(QDir().mkpath(m_dir.filePath("placed")));
        RvRegister reg(m_dir.filePath("placed"));
        QVERIFY(reg.open());
        if (reg.model().rowCount() == 0) {
            for (const QVariantList &row :
                { QVariantList { "1", 12, 7 }, QVariantList { "2", 3, 4 } }) {
                QVERIFY(reg.model().append());
                reg.model().setValue("Lokomotiv", row.at(0));
                reg.model().setValue("OslablenieM", row.at(1));
                reg.model().setValue("OslablenieG", row.at(2));
                QVERIFY(reg.model().post());
            }
        }
        const QList<PdfPage> pages = print(reg);
        const QList<PdfWord> found = pages.value(0).find(word);
        QVERIFY2(!found.isEmpty(), qPrintable(word));
        const QRectF box = found.first().boxMm;
        if (xMm >= 0) {
            QVERIFY2(qAbs(box.left() - xMm) <= ToleranceMm,
                qPrintable(QString("x %1, expected %2").arg(box.left()).arg(xMm)));
        }
        QVERIFY2(qAbs(box.top() - yMm) <= ToleranceMm,
            qPrintable(QString("y %1, expected %2").arg(box.top()).arg(yMm)));
    }

    void titleAndPageNumberAreCentred()
    {
        QVERIFY(QDir().mkpath(m_dir.filePath("centred")));
        RvRegister reg(m_dir.filePath("centred"));
        QVERIFY(reg.open());
        const QList<PdfPage> pages = print(reg);
        const PdfPage &page = pages.first();
        // The bands run from 20 to 200 mm.
        const QList<PdfWord> number = page.find("Страница:1");
        QCOMPARE(number.size(), 1);
        QVERIFY(qAbs(number.first().boxMm.center().x() - 110) <= ToleranceMm);
        const QList<PdfWord> first = page.find("Данные");
        const QList<PdfWord> last = page.find("РС");
        QVERIFY(!first.isEmpty() && !last.isEmpty());
        QVERIFY(qAbs((first.first().boxMm.left() + last.first().boxMm.right()) / 2 - 110)
            <= ToleranceMm);
        QVERIFY(qAbs(page.sizeMm.width() - 210) < ToleranceMm); // portrait
    }

    void manyRowsRepeatTheHeadersOnEveryPage()
    {
        QVERIFY(QDir().mkpath(m_dir.filePath("long")));
        RvRegister reg(m_dir.filePath("long"));
        QVERIFY(reg.open());
        for (int i = 1; i <= 40; ++i) {
            QVERIFY(reg.model().append());
            reg.model().setValue("Lokomotiv", QString::number(i));
            QVERIFY(reg.model().post());
        }
        const QList<PdfPage> pages = print(reg);
        QCOMPARE(pages.size(), 2);
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(pages.at(i).find(QString("Страница:%1").arg(i + 1)).size(), 1);
            QVERIFY(pages.at(i).layoutText.contains("Распечатано"));
            QVERIFY(pages.at(i).layoutText.contains("Ослабление ГМВ"));
            QCOMPARE(pages.at(i).layoutText.contains("Данные о локомотивных РС"), i == 0);
        }
        QVERIFY(pages.at(1).layoutText.contains("0000040"));
    }

private:
    QList<PdfPage> print(RvRegister &reg)
    {
        QList<QStringList> rows;
        if (!reg.reportRows(&rows)) {
            return {};
        }
        ReportRowList source(RvRegister::reportFields(), rows);
        FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(10, 5)));
        const PreparedReport report = PrepareReport(TQRRV::layout(), source, TQRRV::hooks(clock));
        if (!report.isReady()) {
            qWarning() << report.errorString();
            return {};
        }
        const QString path = m_dir.filePath(QStringLiteral("register-%1.pdf").arg(++m_printed));
        QString error;
        if (!WriteReportPdf(report, path, &error)) {
            qWarning() << error;
            return {};
        }
        return ReadPdf(path);
    }

    QTemporaryDir m_dir;
    int m_printed = 0;
};

QTEST_MAIN(TestRvReport)
#include "tst_rvreport.moc"
