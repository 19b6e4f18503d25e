#pragma once

#include "console/help.h"
#include "console/mainformcontrols.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class MessageGrid;
class ProgramContext;
class QActionGroup;
class QLineEdit;
class SerialConnection;
class TAboutBox;
class TFevery;

// The main window "ТЕЛВ-2": menus and toolbar, the live state of the station, the
// received-messages grid, the last measurements and the results area. Creating it
// connects to the station; it owns the serial connection for the whole run.
class TMainForm : public QMainWindow
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
    void SetCommandMenus(bool on);
    void ResetResultsPanel();
    void ShowServiceWord();
    void ShowSensitivityFields();

    // The secondary windows, created after this one.
    void setEveryWindow(TFevery *window);
    void setAboutBox(TAboutBox *box);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void connectMenus();
    void startUpConnection();
    bool openPort(const QString &name);
    void sendFirstCommand();

    void IPortClick();
    void ICom4Click(QAction *item);
    void openChosenPort(const QString &name);
    void mClosePortClick();
    void N3Click();
    void N4Click();
    void IEveryClick();

    void onConnectionLost(const QString &message);
    void onConnectionRestored();

    ProgramContext &m_context;
    MainFormControls m_ui;
    std::unique_ptr<MessageGrid> m_grid;
    std::unique_ptr<SerialConnection> m_connection;
    Help::Viewer m_help;
    QActionGroup *m_portGroup = nullptr;
    QString m_currentPort;
    QString m_pendingPort; // chosen, waiting for the old port to settle
    bool m_shown = false;
    QPointer<TFevery> m_every;
    QPointer<TAboutBox> m_about;
};
