#include "stats/windows/resulttools.h"

#include "records/windows/resultbrowserwindow.h"
#include "shared/operatormessages.h"
#include "stats/windows/exportdialog.h"
#include "stats/windows/locomotivehistorywindow.h"
#include "stats/windows/statisticswindow.h"

ResultTools::ResultTools(const DatabaseLocation &database, Clock &clock,
    OperatorMessages &messages, QWidget *parentWindow)
    : QObject(parentWindow)
    , m_database(database)
    , m_clock(clock)
    , m_messages(messages)
    , m_parent(parentWindow)
    , m_statistics(new TFStats(database, clock, messages, parentWindow))
    , m_export(new TFExport(parentWindow))
{ }

void ResultTools::setFileChooser(SaveFileChooser choose)
{
    m_choose = choose;
    m_statistics->setFileChooser(std::move(choose));
}

void ResultTools::serve(ResultBrowserWindow &browser)
{
    connect(&browser, &ResultBrowserWindow::exportRequested, this,
        [this, &browser] { ExportFromBrowser(browser, *m_export, m_messages, m_choose); });
    connect(&browser, &ResultBrowserWindow::historyRequested, this, &ResultTools::showHistory);
}

void ResultTools::showStatistics()
{
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

void ResultTools::showHistory(const QString &locomotive)
{
    if (locomotive.isEmpty()) {
        m_messages.showError(QStringLiteral("Нет текущей строки с номером локомотива"));
        return;
    }
    TFLocoHistory history(m_database, m_clock, m_parent);
    history.load(locomotive);
    history.exec();
}
