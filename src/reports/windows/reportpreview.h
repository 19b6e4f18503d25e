#pragma once

#include <QObject>

#include <memory>

class Clock;
class OperatorMessages;
class PreparedReport;
class QAction;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;
class ReportRowSource;
struct ReportHooks;
struct ReportLayout;

// The modal print preview of a prepared report: zoom, page turning, page and printer
// set-up, printing, and saving the report as PDF. The preview asks for the pages
// again on every zoom, orientation change and printout; each time they are painted
// from the same prepared report.
class ReportPreview final : public QObject
{
    Q_OBJECT
public:
    ReportPreview(
        const PreparedReport &report, OperatorMessages &messages, QWidget *parent = nullptr);
    ~ReportPreview() override;

    // Shows the preview and returns when the operator has closed it.
    void exec();

    // Writes the report to the file; failures are shown to the operator.
    bool saveAsPdf(const QString &path);

    QPrintPreviewDialog *dialog() const { return m_dialog.get(); }
    QAction *saveAsPdfAction() const { return m_saveAsPdf; }

private:
    void paint(QPrinter *printer);
    void askAndSavePdf();

    const PreparedReport &m_report;
    OperatorMessages &m_messages;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPrintPreviewDialog> m_dialog;
    QAction *m_saveAsPdf = nullptr;
};

// Prepares the report from the rows, with a progress dialog once that has taken more
// than a moment by the clock, and shows it in the preview until the operator closes
// it. Failures are shown to the operator; a cancelled preparation shows nothing.
void PreviewReport(const ReportLayout &layout, ReportRowSource &rows, const ReportHooks &hooks,
    Clock &clock, OperatorMessages &messages, QWidget *parent = nullptr);
