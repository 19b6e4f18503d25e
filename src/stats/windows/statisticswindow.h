#pragma once

#include "records/databaselocation.h"

#include "stats/statisticsqueries.h"
#include "stats/windows/savefilechooser.h"

#include <QWidget>

class Clock;
class OperatorMessages;
class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// "Статистика": for a period, and optionally one locomotive, the charts of the
// recorded radio tests and station self-tests. The counting is done by the engine
// each time the operator asks ("Показать") or the window is shown; the tables are
// open only meanwhile. The chart on the current tab can be saved as PNG or PDF and
// printed. Closing only hides the window.
class TFStats final : public QWidget
{
    Q_OBJECT
public:
    TFStats(const DatabaseLocation &database, Clock &clock, OperatorMessages &messages,
        QWidget *parent = nullptr);

    void setFileChooser(SaveFileChooser choose) { m_choose = std::move(choose); }

    QChartView *chartView(int index) const;
    QTabWidget *pages() const { return m_pages; }
    QLabel *summary() const { return m_summary; }

    void setPeriod(const QDate &from, const QDate &to, PeriodStep step);

public Q_SLOTS:
    // Counts again and redraws every chart.
    void count();
    void saveChart();
    void printChart();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    StatisticsRequest request() const;
    void setChart(int index, QChart *chart);

    DatabaseLocation m_database;
    Clock &m_clock;
    OperatorMessages &m_messages;
    SaveFileChooser m_choose = ChooseFileToSave;

    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QCheckBox *m_byLocomotive = nullptr;
    QLineEdit *m_locomotive = nullptr;
    QComboBox *m_step = nullptr;
    QPushButton *m_show = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_print = nullptr;
    QLabel *m_summary = nullptr;
    QTabWidget *m_pages = nullptr;
    QList<QChartView *> m_views;
};
