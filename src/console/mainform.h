#pragma once

#include "console/mainformcontrols.h"
#include "link/stationview.h"
#include "sequences/radiotest1view.h"
#include "sequences/servicecommandsview.h"
#include "sequences/testhost.h"
#include "widgets/help.h"

#include <QMainWindow>

#include <memory>

class MessageGrid;
class ProgramContext;
class QLabel;
class QLineEdit;
class SerialConnection;
class StationReceiver;

// The main window "ТЕЛВ-2": menus and toolbar, the live state of the station, the
// received-messages grid, the last measurements and the results area. Creating it
// connects to the station; it owns the serial connection for the whole run.
class TMainForm : public QMainWindow,
                  public StationView,
                  public TestHost,
                  public RadioTest1View,
                  public ServiceCommandsView
{
    Q_OBJECT
public:
    explicit TMainForm(ProgramContext &context, QWidget *parent = nullptr);
    ~TMainForm() override;

    const MainFormControls &controls() const { return m_ui; }
    MessageGrid &grid() { return *m_grid; }
    SerialConnection &connection() { return *m_connection; }
    Help::Viewer &help() { return m_help; }

    // The port last opened successfully; empty when the start-up connection failed.
    QString CurrentPort() const { return m_currentPort; }

    // What clicking a port in "Выбор порта" does: closes the open port, waits a
    // moment, opens the chosen one; on failure the previous port is opened again.
    void choosePort(const QString &name);

    void SetLinkMenus(bool on);
    // The four items reserved for the holder of the access code.
    void setReservedItems(bool enabled);
    void ShowSensitivityFields();

    StationReceiver &receiver() { return *m_receiver; }

    // What the station shows in this window.
    void AddMessageLine(const QString &text, bool withRange) override;
    void showRangeName(const QString &name) override;
    void showStationFree(bool free) override;
    void SetCommandMenus(bool on) override;
    void ResetResultsPanel() override;
    void ShowServiceWord() override;
    void setTransmitting(Band band, bool on) override;
    void showAlarm(Alarm alarm, bool visible) override;
    void setDmvLineSignal(bool present) override;
    void setNeedle(int position) override;
    void showField(Field field, const QString &text) override;
    void showSpecialModeResult(SpecialResult field, const QString &text) override;
    void beep() override;
    void postStationTest(int testNumber) override;

    // What the test sequences use.
    void ClearMessageGrid() override;
    void showPanel(Panel panel) override;
    void AddLineWithoutRange(const QString &text) override { AddMessageLine(text, false); }
    void setCurrentRange(int range) override { ComboChange(range); }

    // What radio test 1 and the direct commands show (mainformresults.cpp).
    void showRadioTest1(
        const QString &header, const QString &locoLine, int durationSeconds) override;
    void showRadioTest1Elapsed(int seconds) override;
    void showRadioTest1Ended() override;
    void resetTestGauges() override;
    bool amplifierAlarmShown() const override;
    void hideAmplifierAlarms() override;
    void showTechnologicalMode(const QString &header, bool liuField) override;

    // The range lists' change handler: the range follows the list.
    void ComboChange(int index);

    // What the port menu and the help items do; the program wires them.
    void IPortClick();
    void ICom4Click(QAction *item);
    void otherPortClick();
    void mClosePortClick();
    void N3Click();

Q_SIGNALS:
    // The station reported a self-test (Test1) or a radio test 2 or 3 (Test2) that the
    // PC did not start; the collection already holds its result frame.
    void Test1();
    void Test2();
    // A result of the special mode, for its window; dropped while none listens.
    void specialModeResult(SpecialResult field, const QString &text);
    // The window is closing, the port's reading already stopped.
    void closing();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void startUpConnection();
    bool openPort(const QString &name);
    void sendFirstCommand();

    QAction *addPortItem(const QString &name, const QString &description);
    void openChosenPort(const QString &name);
    // Writes Options.dat; a failure is told, the port stays open.
    void rememberPort(const QString &name);
    void createPortStatus();
    void showPortStatus();
    QLineEdit *fieldEdit(Field field) const;

    void onConnectionLost(const QString &message);
    void onConnectionRestored();

    ProgramContext &m_context;
    MainFormControls m_ui;
    std::unique_ptr<MessageGrid> m_grid;
    std::unique_ptr<SerialConnection> m_connection;
    std::unique_ptr<StationReceiver> m_receiver;
    Help::Viewer m_help;
    QLabel *m_portStatus = nullptr; // in the status bar: the port and its state
    QString m_currentPort;
    QString m_pendingPort; // chosen, waiting for the old port to settle
    bool m_shown = false;
};
