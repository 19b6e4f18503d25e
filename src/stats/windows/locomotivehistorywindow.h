#pragma once

#include "records/databaselocation.h"

#include "stats/locomotivehistory.h"

#include <QDialog>

class Clock;
class QLabel;
class QPushButton;
class QTableWidget;

// "История локомотива": every recorded radio test of one locomotive with its verdict
// and decoded faults, and the factory numbers of its blocks; printable.
class TFLocoHistory final : public QDialog
{
    Q_OBJECT
public:
    TFLocoHistory(const DatabaseLocation &database, Clock &clock, QWidget *parent = nullptr);

    // Reads the locomotive's history; what cannot be read is named in the window.
    void load(const QString &locomotive);

    const LocomotiveHistory &history() const { return m_history; }
    QTableWidget *testsGrid() const { return m_tests; }
    QTableWidget *blocksGrid() const { return m_blocks; }
    QLabel *note() const { return m_note; }

public Q_SLOTS:
    void print();

private:
    void showHistory();

    DatabaseLocation m_database;
    Clock &m_clock;
    LocomotiveHistory m_history;
    QLabel *m_note = nullptr;
    QTableWidget *m_tests = nullptr;
    QTableWidget *m_blocks = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_close = nullptr;
};
