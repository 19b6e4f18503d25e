#pragma once

#include "records/resultbrowser.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"

#include <QSize>
#include <QWidget>

#include <functional>

class BrowserNavigator;
class Clock;
class OperatorMessages;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class ReportRowSource;
class ResultLinesView;
class TFSelectDlg;
class TForm2;

// What the two result browsers share: the tables' directory, the one selection
// dialog and the one report options dialog, the clock and the operator's messages.
struct BrowserServices
{
    DatabaseLocation database;
    TFSelectDlg &select;
    TForm2 &options;
    Clock &clock;
    OperatorMessages &messages;
};

// How one result browser differs from the other.
struct BrowserWindowSetup
{
    const BrowserDisplay &display;
    QString caption;
    QSize size;
    QString commentsTab;
    bool selectionShownUnfocused = true;
    bool locomotiveCriterion = false;
    // The decoded result of a row.
    std::function<ResultLines(const StoredFieldText &)> decode;
    std::function<ResultReport(Clock &, bool expanded)> report;
};

// A result browser window: the grid of a result table under the browser's criteria,
// the decoded result of the current row, the column choice, the navigator, deleting
// the selected rows and the compressed or expanded report. The table is open while
// the window is shown. Closing only hides the window.
class ResultBrowserWindow : public QWidget
{
    Q_OBJECT
public:
    // Shows a prepared report to the operator and returns when it is closed.
    using ReportPresenter = std::function<void(const ResultReport &, ReportRowSource &)>;

    ResultBrowserWindow(
        BrowserWindowSetup setup, const BrowserServices &services, QWidget *parent = nullptr);
    ~ResultBrowserWindow() override;

    ResultBrowser &browser() { return m_browser; }
    QTableView *grid() const { return m_grid; }

    // By default the report engine's modal print preview.
    void setReportPresenter(ReportPresenter presenter);

    const BrowserWindowSetup &setup() const { return m_setup; }
    // The rowids of the selected grid rows in table order; a failure is shown.
    bool selectedRowIds(QList<qint64> *ids);
    // The Loko of the current row; empty without one.
    QString currentLocomotive();

Q_SIGNALS:
    // The operator asked to export rows ("Экспорт…").
    void exportRequested();
    // The operator asked for the history of the current row's locomotive.
    void historyRequested(const QString &locomotive);

public Q_SLOTS:
    void startReport();
    void chooseCriteria();
    void deleteSelected();
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void setUpGrid();
    void showColumnsAsChecked();
    void showCurrentRow();
    void afterReload(int currentRow);
    void deleteCurrent();
    ResultBrowser::RowRuns selectedRuns() const;

    BrowserWindowSetup m_setup;
    BrowserServices m_services;
    ResultBrowser m_browser;
    ReportPresenter m_present;

    QPushButton *m_reportButton = nullptr;
    QPushButton *m_filterButton = nullptr;
    QPushButton *m_deleteSelected = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_history = nullptr; // radio tests only
    BrowserNavigator *m_navigator = nullptr;
    QTabWidget *m_pages = nullptr;
    ResultLinesView *m_comments = nullptr;
    QListWidget *m_fields = nullptr;
    QTableView *m_grid = nullptr;
};
