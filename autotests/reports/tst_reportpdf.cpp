#include "pdfpages.h"
#include "samplereports.h"

#include "reports/reportpainter.h"
#include "reports/reportrows.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace SampleReports;

namespace {

constexpr qreal ToleranceMm = 1.0;
const QDateTime PrintedAt(QDate(2026, 12, 10), QTime(10, 5));

PreparedReport Prepare(const ReportLayout &layout, int rows, const ReportHooks &hooks)
{
    const QList<QStringList> data = SelfTestRows(rows);
    ReportRowList source(SelfTestFields(), data);
    return PrepareReport(layout, source, hooks);
}

// The page as an image of the whole sheet, painted as a printer would paint it.
QImage RenderPage(const PreparedReport &report, int page, int dpi)
{
    const QPageLayout pageLayout = report.layout().pageLayout();
    const QSizeF paper = pageLayout.fullRect(QPageLayout::Millimeter).size();
    const qreal dotsPerMm = dpi / 25.4;
    QImage image(qRound(paper.width() * dotsPerMm), qRound(paper.height() * dotsPerMm),
        QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    const QMarginsF margins = report.layout().marginsMm;
    painter.translate(margins.left() * dotsPerMm, margins.top() * dotsPerMm);
    PaintReportPage(painter, report, page);
    return image;
}

bool IsRed(QRgb c)
{
    return qRed(c) > 160 && qGreen(c) < 110 && qBlue(c) < 110;
}

bool IsDark(QRgb c)
{
    return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110;
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QList<PdfPage> m_compressed; // 30 rows: 13 on page 1, 14 on page 2, 3 on page 3
    QString m_compressedPath;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_compressedPath = m_dir.filePath("compressed.pdf");
        const PreparedReport report = Prepare(SelfTestCompressed(), 30, SelfTestHooks(PrintedAt));
        QVERIFY(report.isReady());
        QString error;
        QVERIFY2(WriteReportPdf(report, m_compressedPath, &error), qPrintable(error));
        m_compressed = ReadPdf(m_compressedPath);
        QCOMPARE(m_compressed.size(), 3);
    }

    void pagesAreLandscapeA4()
    {
        for (const PdfPage &page : std::as_const(m_compressed)) {
            QVERIFY(qAbs(page.sizeMm.width() - 297) < ToleranceMm);
            QVERIFY(qAbs(page.sizeMm.height() - 210) < ToleranceMm);
        }
    }

    void headersRepeatOnEveryPageAndTitleOnlyOnTheFirst()
    {
        for (int i = 0; i < m_compressed.size(); ++i) {
            const PdfPage &page = m_compressed.at(i);
            QCOMPARE(page.find(QString("Страница:%1").arg(i + 1)).size(), 1);
            QVERIFY(page.layoutText.contains("Распечатано 10/12/26 в 10:05"));
            QVERIFY(page.layoutText.contains("Номера частот каналов МВ"));
            QCOMPARE(page.layoutText.contains("Результаты тестирования ТЕЛВ-2"), i == 0);
        }
        QVERIFY(m_compressed.at(1).layoutText.contains("01.03.26 00:14")); // row 14 opens page 2
        QVERIFY(!m_compressed.at(0).layoutText.contains("01.03.26 00:14"));
    }

    void itemsStandWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("word");
        QTest::addColumn<qreal>("xMm"); // from the left edge of the paper
        QTest::addColumn<qreal>("yMm"); // from the top edge of the paper

        // Bands of page 1 start at 10 (page header), 20.6 (title), 31.2 (column header)
        // and 44.7 (first detail); of page 2 at 10 and 20.6 (column header) and 34.1.
        QTest::newRow("stamp") << 0 << "Распечатано" << 224.0 << 12.0;
        QTest::newRow("stamp on page 2") << 1 << "Распечатано" << 224.0 << 12.0;
        QTest::newRow("caption") << 0 << "Режим" << 41.0 << 33.2;
        QTest::newRow("caption on page 2") << 1 << "Режим" << 41.0 << 22.6;
        QTest::newRow("8 pt caption") << 0 << "ПРД-3" << 208.0 << 38.2;
        QTest::newRow("first detail") << 0 << "101" << 57.0 << 46.7;
        QTest::newRow("bold field") << 0 << "Норма" << 88.0 << 46.7;
        QTest::newRow("8 pt field") << 0 << "A0" << 269.0 << 46.7;
        QTest::newRow("last detail of page 1") << 0 << "113" << 57.0 << 46.7 + 12 * 11.1;
        QTest::newRow("first detail of page 2") << 1 << "114" << 57.0 << 36.1;
    }

    void itemsStandWhereTheLayoutPutsThem()
    {
        QFETCH(int, page);
        QFETCH(QString, word);
        QFETCH(qreal, xMm);
        QFETCH(qreal, yMm);
        const QList<PdfWord> found = m_compressed.at(page).find(word);
        QVERIFY2(!found.isEmpty(), qPrintable(word));
        const QRectF box = found.first().boxMm;
        QVERIFY2(qAbs(box.left() - xMm) <= ToleranceMm,
            qPrintable(QString("x %1, expected %2").arg(box.left()).arg(xMm)));
        QVERIFY2(qAbs(box.top() - yMm) <= ToleranceMm,
            qPrintable(QString("y %1, expected %2").arg(box.top()).arg(yMm)));
    }

    void pageNumberIsCentredOnTheBand()
    {
        // The band runs from 10 to 274 mm (right margin 23).
        for (int i = 0; i < m_compressed.size(); ++i) {
            const QList<PdfWord> found = m_compressed.at(i).find(QString("Страница:%1").arg(i + 1));
            QCOMPARE(found.size(), 1);
            QVERIFY(qAbs(found.first().boxMm.center().x() - 142) <= ToleranceMm);
            QVERIFY(qAbs(found.first().boxMm.top() - 12) <= ToleranceMm);
        }
    }

    void wordsWrapInsideTheirBox_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<qreal>("boxLeftMm");
        QTest::addColumn<qreal>("boxWidthMm"); // 0: no box, the text keeps to one line

        QTest::newRow("two words, box 19") << "Служебное"
                                           << "слово" << 125.0 << 19.0;
        QTest::newRow("leading blanks, box 14") << "Код"
                                                << "ошибки" << 108.0 << 14.0;
        QTest::newRow("8 pt, box 21") << "Чувствит."
                                      << "рез." << 255.0 << 21.0;
        QTest::newRow("no box") << "Номера"
                                << "МВ" << 156.0 << 0.0;
    }

    void wordsWrapInsideTheirBox()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(qreal, boxLeftMm);
        QFETCH(qreal, boxWidthMm);
        const PdfPage &page = m_compressed.first();
        const QRectF a = page.find(first).value(0).boxMm;
        const QRectF b = page.find(last).value(0).boxMm;
        QVERIFY(a.isValid() && b.isValid());
        if (boxWidthMm == 0) {
            QVERIFY(qAbs(a.top() - b.top()) < 0.1);
            QVERIFY(b.left() > a.right());
            return;
        }
        QVERIFY2(b.top() >= a.bottom() - 0.5, "the last word goes onto the second line");
        for (const QRectF &box : { a, b }) {
            QVERIFY(box.left() >= boxLeftMm - ToleranceMm);
            QVERIFY(box.right() <= boxLeftMm + boxWidthMm + ToleranceMm);
        }
    }

    void reportOverNoRowsPrintsItsHeadersOnOnePage()
    {
        const PreparedReport report = Prepare(SelfTestCompressed(), 0, SelfTestHooks(PrintedAt));
        const QString path = m_dir.filePath("empty.pdf");
        QString error;
        QVERIFY2(WriteReportPdf(report, path, &error), qPrintable(error));
        const QList<PdfPage> pages = ReadPdf(path);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().layoutText.contains("Страница:1"));
        QVERIFY(pages.first().layoutText.contains("Результаты тестирования ТЕЛВ-2"));
        QVERIFY(pages.first().layoutText.contains("Номера частот каналов МВ"));
        QVERIFY(!pages.first().layoutText.contains("Норма"));
    }

    void arialPrintsInItsMetricCompatibleFont()
    {
        const QStringList fonts = PdfFontNames(m_compressedPath);
        QVERIFY2(!fonts.isEmpty() && fonts.filter("LiberationSans").size() == fonts.size(),
            qPrintable(fonts.join(", ")));
    }

    void stampsShowWhenEachPageWasPreparedAndStayOnRepaint()
    {
        QDateTime now = PrintedAt;
        ReportHooks hooks = SelfTestHooks(PrintedAt);
        hooks.startOfPage = [&](int, ReportValues &page) {
            page.texts.insert("stamp", PrintStamp(now));
            now = now.addSecs(60);
        };
        const PreparedReport report = Prepare(SelfTestCompressed(), 30, hooks);
        now = now.addDays(1); // painting later must not change the stamps
        QStringList texts;
        for (const char *name : { "first.pdf", "second.pdf" }) {
            QString error;
            QVERIFY2(WriteReportPdf(report, m_dir.filePath(name), &error), qPrintable(error));
            const QList<PdfPage> pages = ReadPdf(m_dir.filePath(name));
            QCOMPARE(pages.size(), 3);
            for (int i = 0; i < 3; ++i) {
                QVERIFY(pages.at(i).layoutText.contains(QString("в 10:0%1").arg(5 + i)));
            }
            QString all;
            for (const PdfPage &page : pages) {
                all += page.layoutText;
            }
            texts.append(all);
        }
        QCOMPARE(texts.at(0), texts.at(1));
    }

    void richBlockPrintsLinesInTheirColours_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("slot"); // detail band on the page, from 0
        QTest::addColumn<bool>("black");
        QTest::addColumn<bool>("red");
        QTest::addColumn<bool>("redBelowFirstLine");

        // Three cards to a page: rows 1..3 on page 1, row 7 opens page 3.
        QTest::newRow("all lines black") << 0 << 0 << true << false << false;
        QTest::newRow("fault on the second line") << 0 << 2 << true << true << true;
        QTest::newRow("no answer: one red line") << 2 << 0 << false << true << false;
    }

    void richBlockPrintsLinesInTheirColours()
    {
        QFETCH(int, page);
        QFETCH(int, slot);
        QFETCH(bool, black);
        QFETCH(bool, red);
        QFETCH(bool, redBelowFirstLine);
        const PreparedReport report = Prepare(SelfTestExpanded(), 9, SelfTestHooks(PrintedAt));
        QCOMPARE(report.pageCount(), 3);
        constexpr int dpi = 150;
        const QImage image = RenderPage(report, page, dpi);
        // Block at x 127, y 8 of the band, 57 by 48 mm; the band starts below the page
        // header and, on page 1, the title.
        const qreal bandTop
            = 10 + PageHeaderMm + (page == 0 ? TitleMm : 0) + slot * ExpandedDetailMm;
        const QRect block(qRound((15 + 127) * dpi / 25.4), qRound((bandTop + 8) * dpi / 25.4),
            qRound(57 * dpi / 25.4), qRound(48 * dpi / 25.4));
        int firstInk = -1;
        int firstRed = -1;
        bool sawBlack = false;
        for (int y = block.top(); y <= block.bottom(); ++y) {
            for (int x = block.left(); x <= block.right(); ++x) {
                const QRgb c = image.pixel(x, y);
                if ((IsDark(c) || IsRed(c)) && firstInk < 0) {
                    firstInk = y;
                }
                sawBlack = sawBlack || IsDark(c);
                if (IsRed(c) && firstRed < 0) {
                    firstRed = y;
                }
            }
        }
        QCOMPARE(sawBlack, black);
        QCOMPARE(firstRed >= 0, red);
        if (red) {
            // a 10 pt line is about 4 mm high
            QCOMPARE(firstRed - firstInk > 3 * dpi / 25.4, redBelowFirstLine);
        }
    }

    void framesRunAlongTheChosenSides_data()
    {
        QTest::addColumn<qreal>("xMm");
        QTest::addColumn<qreal>("yMm");
        QTest::addColumn<bool>("line");

        // Expanded report, page 1: cards framed on all sides from 31.2 mm down, 68.5 mm
        // each, between 15 and 200 mm across; the header bands have no frames.
        QTest::newRow("top of the first card") << 100.0 << 31.2 << true;
        QTest::newRow("between cards") << 100.0 << 31.2 + 68.5 << true;
        QTest::newRow("left side") << 15.0 << 60.0 << true;
        QTest::newRow("right side") << 200.0 << 60.0 << true;
        QTest::newRow("inside a card") << 100.0 << 90.0 << false;
        QTest::newRow("between header and title") << 40.0 << 20.6 << false;
    }

    void framesRunAlongTheChosenSides()
    {
        QFETCH(qreal, xMm);
        QFETCH(qreal, yMm);
        QFETCH(bool, line);
        const PreparedReport report = Prepare(SelfTestExpanded(), 3, SelfTestHooks(PrintedAt));
        constexpr int dpi = 300;
        const QImage image = RenderPage(report, 0, dpi);
        const QPoint at(qRound(xMm * dpi / 25.4), qRound(yMm * dpi / 25.4));
        bool dark = false; // within a pixel or two of the line
        for (int d = -2; d <= 2; ++d) {
            const QPoint p = at
                + (qAbs(xMm - 15) < 0.01 || qAbs(xMm - 200) < 0.01 ? QPoint(d, 0) : QPoint(0, d));
            dark = dark || IsDark(image.pixel(p));
        }
        QCOMPARE(dark, line);
    }

    void writingFailsWithoutDamagingAnExistingFile()
    {
        const QString path = m_dir.filePath("kept.pdf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier report");
        file.close();

        ReportLayout broken = SelfTestCompressed();
        broken.detail.items.append(ReportItem::field(0, 0, "NoSuchField"));
        const PreparedReport failed = Prepare(broken, 3, {});
        QString error;
        QVERIFY(!WriteReportPdf(failed, path, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier report"));

        const PreparedReport ready = Prepare(SelfTestCompressed(), 3, {});
        error.clear();
        QVERIFY(!WriteReportPdf(ready, m_dir.filePath("no/such/dir/report.pdf"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
