#pragma once

#include "records/rvregister.h"

#include <QDialog>

#include <memory>

class Clock;
class OperatorMessages;
class QToolButton;
class RecordGrid;
class RecordNavigator;
class RvLocalCopy;

// "Данные о локомотивных РС": the register of locomotive radio stations, edited in
// place row by row and printed. Created once at start-up, which opens РВ.db for the
// whole run; closing the window only hides it.
class TFDBRV final : public QDialog
{
    Q_OBJECT
public:
    TFDBRV(Clock &clock, OperatorMessages &messages, const DatabaseLocation &database,
        QWidget *parent = nullptr);
    ~TFDBRV() override;

    RvRegister &rvRegister() { return m_register; }
    // What answers the station's attenuation correction requests: the register, or
    // its copy on this PC when the register is on a server.
    AttenuationLookup &attenuationLookup();

    // Whether the window may close: asks about a row still in edit.
    bool FormCloseQuery();
    // Prints the register (the row in edit is saved or dropped first).
    void BitBtn1Click();
    // The rows the report prints, after the row in edit was saved or dropped; false
    // (with the error shown) when that failed.
    bool reportRows(QList<QStringList> *rows);
    // The main window closes the table at its end; a failure is shown.
    void closeTable();

    // Escape: closes as the close button does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Clock &m_clock;
    OperatorMessages &m_messages;
    RvRegister m_register;
    std::unique_ptr<RvLocalCopy> m_copy;
    QToolButton *m_report = nullptr;
    RecordNavigator *m_navigator = nullptr;
    RecordGrid *m_grid = nullptr;
};
