#pragma once

#include "records/databaselocation.h"

#include "stats/windows/savefilechooser.h"

#include <QObject>
#include <QString>

class Clock;
class OperatorMessages;
class ResultBrowserWindow;
class TFExport;
class TFStats;

// What the operator does with recorded results beyond browsing them: the statistics
// window, the export of a browser's rows and the history of a locomotive. Created
// once with the browsers and kept for the whole run.
class ResultTools final : public QObject
{
    Q_OBJECT
public:
    ResultTools(const DatabaseLocation &database, Clock &clock, OperatorMessages &messages,
        QWidget *parentWindow);

    // Offers "Экспорт…" in the browser, and "История локомотива" where it has it.
    void serve(ResultBrowserWindow &browser);

    TFStats &statistics() { return *m_statistics; }
    TFExport &exportOptions() { return *m_export; }
    void setFileChooser(SaveFileChooser choose);

public Q_SLOTS:
    void showStatistics();
    void showHistory(const QString &locomotive);

private:
    DatabaseLocation m_database;
    Clock &m_clock;
    OperatorMessages &m_messages;
    QWidget *m_parent;
    TFStats *m_statistics;
    TFExport *m_export;
    SaveFileChooser m_choose = ChooseFileToSave;
};
