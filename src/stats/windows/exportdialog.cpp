#include "stats/windows/exportdialog.h"

#include "records/browserreportrows.h"
#include "records/windows/resultbrowserwindow.h"
#include "shared/operatormessages.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QRadioButton *radio(QWidget *parent, QLayout *layout, const char *name, const QString &text)
{
    auto *button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    layout->addWidget(button);
    return button;
}

} // namespace

TFExport::TFExport(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFExport"));
    setWindowTitle(QStringLiteral("Экспорт"));
    auto *rows = new QGroupBox(QStringLiteral("Строки:"), this);
    rows->setObjectName(QStringLiteral("gbRows"));
    auto *rowsLayout = new QVBoxLayout(rows);
    m_all = radio(rows, rowsLayout, "rbAll", QStringLiteral("Все записи таблицы"));
    m_filtered = radio(rows, rowsLayout, "rbFiltered", QStringLiteral("Отобранные по признаку"));
    m_selected = radio(rows, rowsLayout, "rbSelected", QStringLiteral("Выделенные"));
    auto *format = new QGroupBox(QStringLiteral("Формат файла:"), this);
    format->setObjectName(QStringLiteral("gbFormat"));
    auto *formatLayout = new QVBoxLayout(format);
    m_xlsx = radio(format, formatLayout, "rbXlsx", QStringLiteral("Книга Excel (XLSX)"));
    m_csv = radio(format, formatLayout, "rbCsv", QStringLiteral("Текст CSV (разделитель «;»)"));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setDefault(true);
    QPushButton *cancel
        = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rows);
    layout->addWidget(format);
    layout->addWidget(buttons);
    choose(ExportScope::Filtered, ExportFormat::Xlsx);
}

void TFExport::setRowsSelected(bool anySelected)
{
    if (!anySelected && m_selected->isChecked()) {
        m_filtered->setChecked(true);
    }
    m_selected->setEnabled(anySelected);
}

ExportScope TFExport::scope() const
{
    return m_all->isChecked()     ? ExportScope::All
        : m_selected->isChecked() ? ExportScope::Selected
                                  : ExportScope::Filtered;
}

ExportFormat TFExport::format() const
{
    return m_csv->isChecked() ? ExportFormat::Csv : ExportFormat::Xlsx;
}

void TFExport::choose(ExportScope scope, ExportFormat format)
{
    (scope == ExportScope::All               ? m_all
            : scope == ExportScope::Selected ? m_selected
                                             : m_filtered)
        ->setChecked(true);
    (format == ExportFormat::Csv ? m_csv : m_xlsx)->setChecked(true);
}

void ExportFromBrowser(ResultBrowserWindow &browser, TFExport &options, OperatorMessages &messages,
    const SaveFileChooser &choose)
{
    options.setRowsSelected(browser.grid()->selectionModel()->hasSelection());
    if (options.exec() != QDialog::Accepted) {
        return;
    }
    std::optional<QList<qint64>> only;
    if (options.scope() == ExportScope::Selected) {
        only.emplace();
        if (!browser.selectedRowIds(&*only)) {
            return;
        }
    }
    const bool csv = options.format() == ExportFormat::Csv;
    const QString suggested = QDir::home().filePath(browser.browser().display().schema.tableName
        + (csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx")));
    const QString path = choose(&browser, QStringLiteral("Экспорт"), suggested,
        csv ? QStringLiteral("Текст CSV (*.csv)") : QStringLiteral("Книга Excel (*.xlsx)"));
    if (path.isEmpty()) {
        return;
    }
    const std::unique_ptr<BrowserReportRows> rows
        = browser.browser().reportRows(std::move(only), options.scope() != ExportScope::All);
    if (!rows) {
        messages.showError(
            QStringLiteral("Не удается прочитать данные:") + browser.browser().errorText());
        return;
    }
    QProgressDialog progress(QStringLiteral("Экспорт…"), QStringLiteral("Отмена"), 0, 0, &browser);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowModality(Qt::ApplicationModal); // nothing else may touch the table meanwhile
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.reset(); // no timer of its own: it shows from the first thousand rows on
    const std::unique_ptr<ExportWriter> writer = MakeExportWriter(options.format());
    QString error;
    const bool written = ExportBrowserRows(
        *rows, browser.browser().display(), browser.setup().decode, *writer, path,
        [&progress](qint64 done) {
            progress.show();
            progress.setLabelText(QStringLiteral("Экспорт… строк: %1").arg(done));
            // Writing runs on the main thread: let the dialog paint and see its button.
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        },
        &error);
    progress.hide();
    if (!written && !error.isEmpty()) {
        messages.showError(error);
    }
}
