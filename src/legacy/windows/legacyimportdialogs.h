#pragma once

#include "legacy/legacyimport.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The import as the operator sees it: the question, a progress dialog with
// "Отмена", the choice of a code page and the summary box, over parent (none at
// start-up, before the main window exists).
class LegacyImportDialogs final : public LegacyImportView
{
public:
    explicit LegacyImportDialogs(QWidget *parent);
    ~LegacyImportDialogs() override;

    bool progress(const QString &fileName, qint64 done, qint64 total) override;
    void writing() override;
    int chooseCodePage(const QString &fileName) override;
    bool confirm(const QString &question) override;
    void showSummary(const QString &text, bool succeeded) override;

private:
    QProgressDialog &progressDialog();
    void closeProgress();

    QWidget *m_parent;
    QPointer<QProgressDialog> m_progress;
};

// The window title of every box of the import.
QString LegacyImportTitle();
