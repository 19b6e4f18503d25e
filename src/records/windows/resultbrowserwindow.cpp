#include "records/windows/resultbrowserwindow.h"

#include "records/browserreportrows.h"
#include "records/windows/browsericons.h"
#include "records/windows/browsernavigator.h"
#include "records/windows/reportoptionsdialog.h"
#include "records/windows/selectdialog.h"
#include "reports/reportrows.h"
#include "reports/windows/reportpreview.h"
#include "shared/dateformats.h"
#include "shared/operatormessages.h"
#include "widgets/help.h"
#include "widgets/modalowner.h"
#include "widgets/resultlinesview.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int HelpTopic = 8;
constexpr int GridRowHeight = 18;

const QString OpenFailed = QStringLiteral("Не удается прочитать данные:");
const QString DeleteSelectedQuestion
    = QStringLiteral("Вы дествительно хотите удалить все выделенные строки?");
const QString DeleteRowQuestion = QStringLiteral("Удалить запись?");

// Lays a list's items in two columns of half its width, row after row, so that
// every item shows its whole text and the list scrolls down.
class TwoColumns final : public QObject
{
public:
    explicit TwoColumns(QListWidget *list)
        : QObject(list)
        , m_list(list)
    {
        list->setFlow(QListView::LeftToRight);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            const int height = std::max(m_list->fontMetrics().height() + 4, 18);
            // The view wraps a row that reaches its right edge, so two halves of
            // an even width would stand one below the other.
            m_list->setGridSize(QSize((m_list->viewport()->width() - 1) / 2, height));
        }
        return false;
    }

private:
    QListWidget *m_list;
};

QPushButton *glyphButton(QWidget *parent, const char *name, const QIcon &icon, const QString &hint)
{
    auto *b = new QPushButton(icon, QString(), parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setFixedSize(25, 25);
    return b;
}

} // namespace

ResultBrowserWindow::ResultBrowserWindow(
    BrowserWindowSetup setup, const BrowserServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_setup(std::move(setup))
    , m_services(services)
    , m_browser(services.database, m_setup.display)
{
    setWindowTitle(m_setup.caption);
    resize(m_setup.size);
    Help::setTopic(this, HelpTopic);
    m_present = [this](const ResultReport &report, ReportRowSource &rows) {
        PreviewReport(
            report.layout, rows, report.hooks, m_services.clock, m_services.messages, this);
    };
    buildControls();
    setUpGrid();
}

ResultBrowserWindow::~ResultBrowserWindow() = default;

void ResultBrowserWindow::setReportPresenter(ReportPresenter presenter)
{
    m_present = std::move(presenter);
}

void ResultBrowserWindow::buildControls()
{
    m_reportButton = glyphButton(this, "BitBtn1", ReportButtonIcon(), QStringLiteral("Отчет"));
    m_filterButton
        = glyphButton(this, "BitBtn2", FilterButtonIcon(), QStringLiteral("Выбор по признаку"));
    m_deleteSelected = new QPushButton(QStringLiteral("Удалить выделенное"), this);
    m_deleteSelected->setObjectName(QStringLiteral("bDelSelected"));
    m_export = new QPushButton(QStringLiteral("Экспорт…"), this);
    m_export->setObjectName(QStringLiteral("bExport"));
    m_export->setToolTip(QStringLiteral("Сохранить строки в файл CSV или XLSX"));
    if (m_setup.locomotiveCriterion) {
        m_history = new QPushButton(QStringLiteral("История локомотива"), this);
        m_history->setObjectName(QStringLiteral("bHistory"));
    }

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_navigator = new BrowserNavigator(*m_grid, this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_comments = new ResultLinesView(m_pages);
    m_comments->setObjectName(QStringLiteral("RichEdit1"));
    m_comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pages->addTab(m_comments, m_setup.commentsTab);
    m_fields = new QListWidget(m_pages);
    m_fields->setObjectName(QStringLiteral("clbViewFields"));
    new TwoColumns(m_fields);
    m_pages->addTab(m_fields, QStringLiteral("Показать поля"));

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_reportButton);
    buttons->addWidget(m_filterButton);
    buttons->addStretch();
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addLayout(buttons);
    left->addWidget(m_deleteSelected);
    auto *extra = new QHBoxLayout;
    extra->addWidget(m_export);
    if (m_history) {
        extra->addWidget(m_history);
    }
    left->addLayout(extra);
    left->addWidget(m_navigator);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    m_pages->setFixedHeight(110);

    connect(m_reportButton, &QPushButton::clicked, this, &ResultBrowserWindow::startReport);
    connect(m_filterButton, &QPushButton::clicked, this, &ResultBrowserWindow::chooseCriteria);
    connect(m_deleteSelected, &QPushButton::clicked, this, &ResultBrowserWindow::deleteSelected);
    connect(m_export, &QPushButton::clicked, this, &ResultBrowserWindow::exportRequested);
    if (m_history) {
        connect(m_history, &QPushButton::clicked, this,
            [this] { Q_EMIT historyRequested(currentLocomotive()); });
    }
    connect(
        m_navigator, &BrowserNavigator::deleteRequested, this, &ResultBrowserWindow::deleteCurrent);
    connect(m_navigator, &BrowserNavigator::refreshRequested, this, &ResultBrowserWindow::refresh);
    connect(m_fields, &QListWidget::itemChanged, this, &ResultBrowserWindow::showColumnsAsChecked);
}

void ResultBrowserWindow::setUpGrid()
{
    PagedTableModel &model = m_browser.model();
    m_grid->setModel(&model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // Rows of one height: the view never measures a million rows.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(GridRowHeight);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setHighlightSections(false);

    QPalette palette = m_grid->palette();
    if (m_setup.selectionShownUnfocused) {
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
            palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
            palette.color(QPalette::Active, QPalette::HighlightedText));
    } else {
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
            palette.color(QPalette::Inactive, QPalette::Base));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
            palette.color(QPalette::Inactive, QPalette::Text));
    }
    m_grid->setPalette(palette);

    const QFontMetrics metrics(m_grid->font());
    const QList<BrowserColumn> &columns = m_setup.display.columns;
    for (int c = 0; c < columns.size(); ++c) {
        const BrowserColumn &column = columns.at(c);
        int width = column.widthPx;
        if (width <= 0) {
            const int fieldIndex = m_setup.display.schema.fieldIndex(column.field);
            const int characters
                = fieldIndex < 0 ? 0 : m_setup.display.schema.fields.at(fieldIndex).width;
            width = std::max(metrics.horizontalAdvance(column.title),
                        metrics.averageCharWidth() * characters)
                + 12;
        }
        m_grid->setColumnWidth(c, width);
        auto *item = new QListWidgetItem(column.title, m_fields);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this] { showCurrentRow(); });
}

void ResultBrowserWindow::showColumnsAsChecked()
{
    for (int i = 0; i < m_fields->count(); ++i) {
        m_grid->setColumnHidden(i, m_fields->item(i)->checkState() != Qt::Checked);
    }
}

void ResultBrowserWindow::showCurrentRow()
{
    m_navigator->updateButtons();
    if (!m_comments->isEnabled()) {
        return; // a report is being prepared
    }
    const QModelIndex current = m_grid->currentIndex();
    if (m_browser.model().rowCount() == 0 || !current.isValid()) {
        m_comments->setLines({});
        if (m_history) {
            m_history->setEnabled(false);
        }
        return;
    }
    const int row = current.row();
    m_comments->setLines(m_setup.decode([this, row](const QString &field) {
        return m_browser.model().storedValue(row, field).toString();
    }));
    if (m_history) {
        m_history->setEnabled(true);
    }
}

QString ResultBrowserWindow::currentLocomotive()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!m_browser.isOpen() || !current.isValid()) {
        return {};
    }
    return m_browser.model().storedValue(current.row(), QStringLiteral("Loko")).toString();
}

void ResultBrowserWindow::afterReload(int currentRow)
{
    const int rows = m_browser.model().rowCount();
    if (rows > 0) {
        const int row = std::clamp(currentRow, 0, rows - 1);
        m_grid->selectionModel()->setCurrentIndex(
            m_browser.model().index(row, 0), QItemSelectionModel::NoUpdate);
    }
    showCurrentRow();
}

void ResultBrowserWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // restored from the task bar, not shown by the program
    }
    const bool opened = m_browser.open();
    afterReload(0);
    if (!opened) {
        m_services.messages.showError(OpenFailed + m_browser.errorText());
    }
}

void ResultBrowserWindow::closeEvent(QCloseEvent *event)
{
    if (!m_browser.close()) {
        m_services.messages.showError(m_browser.errorText());
    }
    showCurrentRow();
    event->accept();
}

void ResultBrowserWindow::refresh()
{
    const int row = m_grid->currentIndex().row();
    if (!m_browser.refresh()) {
        m_services.messages.showError(OpenFailed + m_browser.errorText());
    }
    afterReload(row);
}

void ResultBrowserWindow::chooseCriteria()
{
    UseDayMonthYearShortDates();
    m_services.select.setLocomotiveAvailable(m_setup.locomotiveCriterion);
    if (ExecOwnedBy(m_services.select, this) != QDialog::Accepted) {
        return;
    }
    BrowserCriteria criteria;
    if (m_setup.locomotiveCriterion && m_services.select.locomotiveChosen()) {
        criteria.locomotive = PadLocomotiveNumber(m_services.select.locomotiveText());
    }
    if (m_services.select.daysChosen()) {
        criteria.days
            = BrowserCriteria::DayRange { m_services.select.fromDay(), m_services.select.toDay() };
    }
    if (!m_browser.setCriteria(criteria)) {
        m_services.messages.showError(OpenFailed + m_browser.errorText());
    }
    afterReload(0);
}

ResultBrowser::RowRuns ResultBrowserWindow::selectedRuns() const
{
    ResultBrowser::RowRuns runs;
    for (const QItemSelectionRange &range : m_grid->selectionModel()->selection()) {
        runs.append({ range.top(), range.bottom() });
    }
    return runs;
}

bool ResultBrowserWindow::selectedRowIds(QList<qint64> *ids)
{
    if (!m_browser.rowIds(selectedRuns(), ids)) {
        m_services.messages.showError(m_browser.errorText());
        return false;
    }
    return true;
}

void ResultBrowserWindow::startReport()
{
    m_services.options.setRowsSelected(m_grid->selectionModel()->hasSelection());
    if (ExecOwnedBy(m_services.options, this) != QDialog::Accepted) {
        return;
    }
    std::optional<QList<qint64>> only;
    if (m_services.options.selectedOnly()) {
        only.emplace();
        if (!selectedRowIds(&*only)) {
            return;
        }
    }
    const std::unique_ptr<ReportRowSource> rows = m_browser.reportRows(std::move(only));
    if (!rows) {
        m_services.messages.showError(OpenFailed + m_browser.errorText());
        return;
    }
    m_comments->setEnabled(false);
    m_present(m_setup.report(m_services.clock, m_services.options.expanded()), *rows);
    m_comments->setEnabled(true);
}

void ResultBrowserWindow::deleteSelected()
{
    if (m_services.messages.ask(DeleteSelectedQuestion, false) != OperatorMessages::Answer::Yes) {
        return;
    }
    QList<qint64> ids;
    if (!selectedRowIds(&ids) || ids.isEmpty()) {
        return;
    }
    const int row = m_grid->currentIndex().row();
    if (!m_browser.deleteRows(ids)) {
        m_services.messages.showError(m_browser.errorText());
    }
    afterReload(row);
}

void ResultBrowserWindow::deleteCurrent()
{
    const int row = m_grid->currentIndex().row();
    const qint64 id = m_browser.model().rowIdAt(row);
    if (id == 0
        || m_services.messages.ask(DeleteRowQuestion, false) != OperatorMessages::Answer::Yes) {
        return;
    }
    if (!m_browser.deleteRows({ id })) {
        m_services.messages.showError(m_browser.errorText());
    }
    afterReload(row);
}
