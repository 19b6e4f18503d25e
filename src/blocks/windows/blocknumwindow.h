#pragma once

#include "blocks/factorynumbers.h"

#include <QWidget>

class Clock;
class OperatorMessages;
class QComboBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class RecordGrid;
class RecordNavigator;

// "Заводские номера блоков": the factory numbers register, viewed, entered by hand
// and printed. Created once at start-up, which opens BlockNum.DB for the whole run;
// closing the window only hides it. Not modal: the radio tests write into the
// register while it is shown.
class TfBlockNum final : public QWidget
{
    Q_OBJECT
public:
    TfBlockNum(Clock &clock, OperatorMessages &messages, const DatabaseLocation &database,
        QWidget *parent = nullptr);

    FactoryNumbersRegister &factoryNumbers() { return m_register; }

    // The menu item "Данные о заводских номерах".
    void iBlockNumClick();
    // Whether the window may close: asks about a row still in edit.
    bool FormCloseQuery();
    void bPrintClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void FormDeactivate();
    void clbViewFieldsClickCheck(QListWidgetItem *item);
    void DataSource1StateChange();

    Clock &m_clock;
    OperatorMessages &m_messages;
    FactoryNumbersRegister m_register;
    RecordNavigator *m_navigator = nullptr;
    QGroupBox *m_printGroup = nullptr;
    QComboBox *m_include = nullptr;
    QPushButton *m_print = nullptr;
    QListWidget *m_fields = nullptr;
    RecordGrid *m_grid = nullptr;
    bool m_asking = false;
};
