#include "reports/windows/reportpreview.h"

#include "reports/reportpainter.h"
#include "reports/reportprepare.h"
#include "reports/reportrows.h"
#include "shared/clock.h"
#include "shared/operatormessages.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolBar>

namespace {

// Preparing a report faster than this shows no progress dialog at all.
constexpr int ProgressDelayMs = 500;

} // namespace

ReportPreview::ReportPreview(
    const PreparedReport &report, OperatorMessages &messages, QWidget *parent)
    : m_report(report)
    , m_messages(messages)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setPageLayout(report.layout().pageLayout());
    m_printer->setDocName(report.layout().name);
    m_dialog = std::make_unique<QPrintPreviewDialog>(m_printer.get(), parent);
    m_dialog->setObjectName(QStringLiteral("ReportPreview"));
    m_dialog->setWindowTitle(report.layout().name);
    connect(m_dialog.get(), &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paint);

    m_saveAsPdf = new QAction(QStringLiteral("Сохранить в PDF"), m_dialog.get());
    m_saveAsPdf->setObjectName(QStringLiteral("saveAsPdf"));
    connect(m_saveAsPdf, &QAction::triggered, this, &ReportPreview::askAndSavePdf);
    if (QToolBar *toolBar = m_dialog->findChild<QToolBar *>()) {
        toolBar->addSeparator();
        toolBar->addAction(m_saveAsPdf);
    } else {
        m_dialog->addAction(m_saveAsPdf);
    }
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::exec()
{
    m_dialog->exec();
}

bool ReportPreview::saveAsPdf(const QString &path)
{
    QString error;
    if (!WriteReportPdf(m_report, path, &error)) {
        m_messages.showError(error);
        return false;
    }
    return true;
}

void ReportPreview::paint(QPrinter *printer)
{
    QString error;
    if (!PaintReport(m_report, *printer, &error)) {
        m_messages.showError(error);
    } else if (printer->printerState() == QPrinter::Error) {
        m_messages.showError(QStringLiteral("Ошибка принтера: отчёт не напечатан."));
    }
}

void ReportPreview::askAndSavePdf()
{
    QString name = m_report.layout().name.trimmed();
    name.replace(u'/', u'_');
    const QString suggested = QDir::home().filePath(name + QStringLiteral(".pdf"));
    const QString path = QFileDialog::getSaveFileName(
        m_dialog.get(), m_saveAsPdf->text(), suggested, QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) {
        saveAsPdf(path);
    }
}

void PreviewReport(const ReportLayout &layout, ReportRowSource &rows, const ReportHooks &hooks,
    Clock &clock, OperatorMessages &messages, QWidget *parent)
{
    QProgressDialog progress(
        QStringLiteral("Подготовка отчёта…"), QStringLiteral("Отмена"), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal); // nothing else may run meanwhile
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.reset(); // no timer of its own: it shows once preparing outlasts ProgressDelayMs
    const QDateTime started = clock.now();
    ReportHooks withProgress = hooks;
    withProgress.progress = [&](qsizetype taken, qsizetype expected) {
        if (hooks.progress && !hooks.progress(taken, expected)) {
            return false;
        }
        if (!progress.isVisible()) {
            if (started.msecsTo(clock.now()) < ProgressDelayMs) {
                return true;
            }
            progress.show();
        }
        if (expected > 0) { // otherwise the bar shows a busy indicator
            progress.setMaximum(int(qMin<qsizetype>(expected, INT_MAX)));
            progress.setValue(int(qMin(taken, expected)));
        }
        progress.setLabelText(QStringLiteral("Подготовка отчёта… строк: %1").arg(taken));
        // Preparing runs on the main thread: let the dialog paint and see its button.
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    const PreparedReport report = PrepareReport(layout, rows, withProgress);
    progress.hide();
    switch (report.status()) {
    case PreparedReport::Status::Cancelled:
        return;
    case PreparedReport::Status::Failed:
        messages.showError(report.errorString());
        return;
    case PreparedReport::Status::Ready:
        break;
    }
    ReportPreview preview(report, messages, parent);
    preview.exec();
}
