#include "console/messagegrid.h"

#include "shared/clock.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QtMath>

#include <algorithm>

namespace {

constexpr int RowHeight = 21;
constexpr int MessageColumnWidth = 275;
constexpr int QuietSecondsBeforeClearing = 60;
constexpr int LinesKeptAfterQuiet = 200;
constexpr int MaxLines = 1000;

// The width a cell needs to show text whole: the text as drawn, to the fraction of
// a pixel, the style's text margin on both sides and the grid line.
int cellWidthFor(const QTableWidget &table, const QString &text)
{
    const int margin
        = table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1;
    return qCeil(QFontMetricsF(table.font()).horizontalAdvance(text)) + 2 * margin + 1;
}

} // namespace

MessageGrid::MessageGrid(
    QTableWidget &table, Clock &clock, std::function<QString()> currentRangeName)
    : m_table(table)
    , m_clock(clock)
    , m_currentRangeName(std::move(currentRangeName))
{ }

void MessageGrid::setUpColumns()
{
    m_table.setColumnCount(3);
    m_table.setHorizontalHeaderLabels(
        { QStringLiteral(" № "), QStringLiteral(" Диапазон "), QStringLiteral(" Сообщение ") });
    const QFontMetrics metrics(m_table.font());
    // " 100 " fitted a grid that drew its texts without cell margins; ours has them,
    // and the line numbers go up to 1001.
    m_table.setColumnWidth(0,
        std::max(metrics.horizontalAdvance(QStringLiteral(" 100 ")),
            cellWidthFor(m_table, QStringLiteral("1001"))));
    m_table.setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral(" Диапазон  ")));
    m_table.setColumnWidth(2, MessageColumnWidth);
    // The message column takes the rest of the grid's width, up to the scroll bar.
    m_table.horizontalHeader()->setStretchLastSection(true);
    m_table.verticalHeader()->setDefaultSectionSize(RowHeight);
    fitToWholeRows();
    setRowCount(InitialRows);
}

void MessageGrid::fitToWholeRows()
{
    // The header row is as high as a line, and the grid shows whole lines only: a
    // grid scrolled to its last line then shows its top line whole, too.
    m_table.horizontalHeader()->setFixedHeight(RowHeight);
    const int frames = 2 * m_table.frameWidth();
    const int lines = std::max(1, (m_table.height() - frames - RowHeight) / RowHeight);
    m_table.resize(m_table.width(), frames + RowHeight * (lines + 1));
}

void MessageGrid::setRowCount(int rowsWithHeader)
{
    m_table.setRowCount(rowsWithHeader - 1);
}

void MessageGrid::AddMessageLine(const QString &text, bool withRange)
{
    if (text.isEmpty()) {
        return;
    }
    const QTime now = m_clock.now().time();
    const int elapsed = ElapsedSecondsOfDay(m_lastLineTime, now);
    if ((elapsed > QuietSecondsBeforeClearing && m_lineCount > LinesKeptAfterQuiet)
        || m_lineCount > MaxLines) {
        ClearMessageGrid();
    }
    m_lastLineTime = now;

    const int rowsWithHeader = m_table.rowCount() + 1;
    if (rowsWithHeader - 1 <= m_lineCount) {
        setRowCount(rowsWithHeader + GrowthRows);
    }
    ++m_lineCount;
    const int row = m_lineCount - 1;
    m_table.setItem(row, 0, new QTableWidgetItem(QString::number(m_lineCount)));
    m_table.setItem(row, 1, new QTableWidgetItem(withRange ? m_currentRangeName() : QString()));
    auto *message = new QTableWidgetItem(text);
    // A line cut off by its column can be read whole in its tooltip.
    if (cellWidthFor(m_table, text) > m_table.columnWidth(2)) {
        message->setToolTip(text);
    }
    m_table.setItem(row, 2, message);
    m_table.setCurrentCell(row, 0);
    m_table.scrollToItem(m_table.item(row, 0));
}

void MessageGrid::ClearMessageGrid()
{
    // Everything runs on the GUI thread, so the grid needs no lock of its own.
    m_table.clearContents();
    m_lineCount = 0;
    setRowCount(InitialRows);
    m_table.setCurrentCell(0, 1);
}
