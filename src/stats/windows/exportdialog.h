#pragma once

#include "stats/browserexport.h"
#include "stats/windows/savefilechooser.h"

#include <QDialog>

class OperatorMessages;
class ResultBrowserWindow;
class QRadioButton;

// The export options, one dialog for both browsers: which rows and which format.
// The choices are kept between uses.
class TFExport final : public QDialog
{
    Q_OBJECT
public:
    explicit TFExport(QWidget *parent = nullptr);

    // "Выделенные" is offered only while rows are selected.
    void setRowsSelected(bool anySelected);

    ExportScope scope() const;
    ExportFormat format() const;
    void choose(ExportScope scope, ExportFormat format);

private:
    QRadioButton *m_all;
    QRadioButton *m_filtered;
    QRadioButton *m_selected;
    QRadioButton *m_csv;
    QRadioButton *m_xlsx;
};

// "Экспорт…" of a browser: asks for the options and the file, then writes the rows
// with a progress dialog that can cancel. Failures are shown to the operator.
void ExportFromBrowser(ResultBrowserWindow &browser, TFExport &options, OperatorMessages &messages,
    const SaveFileChooser &choose);
