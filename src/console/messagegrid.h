#pragma once

#include <QString>
#include <QTime>

#include <functional>

class Clock;
class QTableWidget;

// The received-messages grid: numbered lines with the range that was current, which
// clears itself after long use. Row 0 of the grid is its header, so grid row r is
// table row r - 1.
class MessageGrid
{
public:
    static constexpr int InitialRows = 20; // the header row included
    static constexpr int GrowthRows = 5;

    // currentRangeName gives the name shown in the range column.
    MessageGrid(QTableWidget &table, Clock &clock, std::function<QString()> currentRangeName);

    // Adds one line; an empty text changes nothing at all.
    void AddMessageLine(const QString &text, bool withRange);
    void ClearMessageGrid();

    int lineCount() const { return m_lineCount; }

    // Sets the column widths and header texts of the grid, and fits its height to
    // whole lines.
    void setUpColumns();

private:
    void setRowCount(int rowsWithHeader);
    void fitToWholeRows();

    QTableWidget &m_table;
    Clock &m_clock;
    std::function<QString()> m_currentRangeName;
    int m_lineCount = 0;
    QTime m_lastLineTime = QTime(0, 0);
};
