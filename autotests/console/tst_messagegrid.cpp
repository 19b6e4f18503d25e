#include "console/messagegrid.h"
#include "fakeclock.h"

#include <QTableWidget>
#include <QTest>

namespace {

struct Fixture
{
    Fixture() { grid.setUpColumns(); }

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
        QCOMPARE(f.table.columnWidth(2), 275);
        QCOMPARE(f.table.rowCount() + 1, MessageGrid::InitialRows);
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
