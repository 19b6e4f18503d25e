#include "console/messagegrid.h"
#include "fakeclock.h"
#include "widgets/appearance.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTest>

namespace {

struct Fixture
{
    // size: the grid's size as placed in its window, before the set-up.
    explicit Fixture(QSize size = {})
    {
        if (size.isValid()) { // as the main window sets the grid up
            table.resize(size);
            table.verticalHeader()->hide();
        }
        grid.setUpColumns();
    }

    void addLines(int n)
    {
        for (int i = 0; i < n; ++i) {
            grid.AddMessageLine(QStringLiteral("Наличие КС"), true);
        }
    }

    QString cell(int gridRow, int column) const
    {
        const QTableWidgetItem *item = table.item(gridRow - 1, column);
        return item ? item->text() : QString();
    }

    QTableWidget table;
    FakeClock clock;
    QString rangeName = QStringLiteral("ДМВ");
    MessageGrid grid { table, clock, [this] { return rangeName; } };
};

} // namespace

class TestMessageGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { ApplyProgramAppearance(*qApp); }

    void aLineCutOffByItsColumnHasItsWholeTextAsTooltip()
    {
        Fixture f;
        const QString lost = QStringLiteral(
            "Связь с портом /dev/ttyUSB0 потеряна (Input/output error). Порт закрыт; он будет "
            "открыт снова, когда это же устройство появится.");
        f.grid.AddMessageLine(QStringLiteral("Наличие КС"), true);
        f.grid.AddMessageLine(lost, false);
        QCOMPARE(f.table.item(0, 2)->toolTip(), QString());
        QCOMPARE(f.table.item(1, 2)->toolTip(), lost);
    }

    void header()
    {
        Fixture f;
        QCOMPARE(f.table.columnCount(), 3);
        QCOMPARE(f.table.horizontalHeaderItem(0)->text(), QStringLiteral(" № "));
        QCOMPARE(f.table.horizontalHeaderItem(1)->text(), QStringLiteral(" Диапазон "));
        QCOMPARE(f.table.horizontalHeaderItem(2)->text(), QStringLiteral(" Сообщение "));
        QCOMPARE(f.table.rowCount() + 1, MessageGrid::InitialRows);
    }

    // The grid as the main window places it: the columns reach the scroll bar, every
    // line number is readable, and the grid scrolled to its last line shows the top
    // line whole.
    void gridInItsWindow()
    {
        Fixture f(QSize(385, 225));
        f.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.table));
        const int columns = f.table.columnWidth(0) + f.table.columnWidth(1) + f.table.columnWidth(2);
        QCOMPARE(columns, f.table.viewport()->width());
        QVERIFY(f.table.columnWidth(2) >= 275);
        QVERIFY(f.table.height() <= 225);

        f.addLines(24); // the last row of a grid grown to 25 rows
        QCOMPARE(f.table.rowCount(), 24);
        QCOMPARE(f.table.rowViewportPosition(f.table.rowAt(0)), 0);
        QCOMPARE(f.table.rowViewportPosition(23) + f.table.rowHeight(23),
            f.table.viewport()->height());

        QStyleOptionViewItem cell;
        cell.initFrom(&f.table);
        cell.rect = f.table.visualRect(f.table.model()->index(0, 0));
        cell.text = QStringLiteral("1001");
        cell.features = QStyleOptionViewItem::HasDisplay;
        QStyle *style = f.table.style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &f.table) + 1;
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, &f.table);
        // The style elides a text wider than its room by any fraction of a pixel.
        QVERIFY(text.width() - 2 * margin
            >= QFontMetricsF(f.table.font()).horizontalAdvance(cell.text));
    }

    void linesAreNumberedWithTheirRange()
    {
        Fixture f;
        f.grid.AddMessageLine(QString(), true);
        QCOMPARE(f.grid.lineCount(), 0);
        f.grid.AddMessageLine(QStringLiteral("Наличие КС"), true);
        f.rangeName = QStringLiteral("МВ2");
        f.grid.AddMessageLine(QStringLiteral("Наличие тона 2272"), true);
        f.grid.AddMessageLine(QStringLiteral("Коррекция ослабления: ??"), false);
        QCOMPARE(f.cell(1, 0), QStringLiteral("1"));
        QCOMPARE(f.cell(1, 1), QStringLiteral("ДМВ"));
        QCOMPARE(f.cell(2, 1), QStringLiteral("МВ2"));
        QCOMPARE(f.cell(2, 2), QStringLiteral("Наличие тона 2272"));
        QCOMPARE(f.cell(3, 0), QStringLiteral("3"));
        QCOMPARE(f.cell(3, 1), QString());
        QCOMPARE(f.table.currentRow(), 2);
    }

    void gridGrowsByFiveRows()
    {
        Fixture f;
        f.addLines(19);
        QCOMPARE(f.table.rowCount() + 1, 20);
        f.addLines(1);
        QCOMPARE(f.table.rowCount() + 1, 25);
        QCOMPARE(f.cell(20, 0), QStringLiteral("20"));
    }

    void clearingRules_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("silenceMs");
        QTest::addColumn<int>("nextNumber");
        QTest::newRow("200 lines, 61 s") << 200 << 61000 << 201;
        QTest::newRow("201 lines, 61 s") << 201 << 61000 << 1;
        QTest::newRow("201 lines, 60 s") << 201 << 60000 << 202;
        QTest::newRow("1000 lines at once") << 1000 << 0 << 1001;
        QTest::newRow("1001 lines at once") << 1001 << 0 << 1;
    }

    void clearingRules()
    {
        QFETCH(int, lines);
        QFETCH(int, silenceMs);
        QFETCH(int, nextNumber);
        Fixture f;
        f.addLines(lines);
        f.clock.advance(silenceMs);
        f.grid.AddMessageLine(QStringLiteral("Наличие КС"), true);
        QCOMPARE(f.grid.lineCount(), nextNumber);
        QCOMPARE(f.cell(nextNumber, 0), QString::number(nextNumber));
        if (nextNumber == 1) {
            QCOMPARE(f.table.rowCount() + 1, MessageGrid::InitialRows);
            QCOMPARE(f.cell(2, 2), QString());
        }
    }

    void silenceAcrossMidnight()
    {
        Fixture f;
        f.clock.setNow(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 50)));
        f.addLines(201);
        f.clock.advance(20000); // 00:00:10 of the next day: 20 s, not a day
        f.grid.AddMessageLine(QStringLiteral("Наличие КС"), true);
        QCOMPARE(f.grid.lineCount(), 202);
    }

    void clearEmptiesEveryLine()
    {
        Fixture f;
        f.addLines(30);
        f.grid.ClearMessageGrid();
        QCOMPARE(f.grid.lineCount(), 0);
        QCOMPARE(f.table.rowCount() + 1, MessageGrid::InitialRows);
        QCOMPARE(f.cell(1, 2), QString());
        f.grid.AddMessageLine(QStringLiteral("Совпал ППНК"), true);
        QCOMPARE(f.cell(1, 0), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestMessageGrid)
#include "tst_messagegrid.moc"
