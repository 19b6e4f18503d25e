#include "console/mainform.h"

#include "console/messagegrid.h"
#include "console/version.h"
#include "context/programcontext.h"
#include "link/commands.h"
#include "link/optionsfile.h"
#include "link/portnames.h"
#include "link/ranges.h"
#include "link/serialconnection.h"
#include "link/stationreceiver.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "shared/clock.h"
#include "shared/operatormessages.h"
#include "widgets/appearance.h"
#include "widgets/gauges.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

#include <algorithm>

namespace {

constexpr int PortSettleMs = 300;

const QColor White(255, 255, 255);

void setFieldLook(QLineEdit *edit, bool grey)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, grey ? palette.color(QPalette::Button) : White);
    edit->setPalette(palette);
}

void setMenuEnabled(QMenu *menu, bool on)
{
    menu->setEnabled(on);
    menu->menuAction()->setEnabled(on);
}

} // namespace

TMainForm::TMainForm(ProgramContext &context, QWidget *parent)
    : QMainWindow(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    FormCreate();
}

TMainForm::~TMainForm()
{
    // No byte may reach the handlers once the windows start going away.
    m_connection->StopReader();
    m_context.receiver.setTarget(nullptr);
}

void TMainForm::FormCreate()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("ТЕЛВ-2, версия ") + ProgramVersion());
    MainFormLayout::buildMenu(menuBar(), m_ui);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    MainFormLayout::buildClientArea(client, m_ui);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_grid = std::make_unique<MessageGrid>(*m_ui.StringGrid1, m_context.clock,
        [this] { return RangeName(m_context.station.CurrentRange); });
    m_grid->setUpColumns();

    m_ui.portGroup = new QActionGroup(this);
    m_ui.portGroup->setExclusive(true);
    addPortItem(m_context.defaultPortName, QString());

    m_receiver = std::make_unique<StationReceiver>(
        m_context.station, *this, m_context.commandBuffer, m_context.sender);
    m_context.receiver.setTarget(m_receiver.get());
    m_connection = std::make_unique<SerialConnection>(
        m_context.assembler, m_context.clock, *m_context.serialDevices, this);
    m_context.sender.setPort(m_connection.get());
    connect(
        m_connection.get(), &SerialConnection::connectionLost, this, &TMainForm::onConnectionLost);
    connect(m_connection.get(), &SerialConnection::connectionRestored, this,
        &TMainForm::onConnectionRestored);
    createPortStatus();
    connect(m_ui.BitBtn1, &QPushButton::clicked, this, &TMainForm::ClearMessageGrid);
    connect(m_ui.BitBtn2, &QPushButton::clicked, &m_context.recorder,
        &ResultRecorder::ClearMeasurements);
    connect(&m_context.recorder, &ResultRecorder::measurementsCleared, this, [this] {
        for (Field field :
            { Field::DmvDeviation, Field::MvDeviation, Field::GmvDeviation, Field::GmvAttenuation,
                Field::MvAttenuation, Field::MvVerdict, Field::GmvVerdict }) {
            showField(field, QString());
        }
    });
    connect(
        &m_context.recorder.outbox(), &ResultOutbox::notice, this, &TMainForm::AddLineWithoutRange);

    startUpConnection();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        CentreOnScreen(*this);
        FormShow();
    }
}

void TMainForm::FormShow()
{
    if (!m_currentPort.isEmpty()) {
        sendFirstCommand();
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    m_connection->StopReader();
    Q_EMIT closing();
    QMainWindow::closeEvent(event);
    // Hidden secondary windows must not keep the program running.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TMainForm::openPort(const QString &name)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = m_connection->OpenPort(name);
    QGuiApplication::restoreOverrideCursor();
    return opened;
}

void TMainForm::sendFirstCommand()
{
    m_context.sendSingleByte(CommandByte::Reset);
}

void TMainForm::startUpConnection()
{
    const OptionsFile::Contents saved = OptionsFile::read();
    if (saved.state == OptionsFile::Contents::State::Unreadable) {
        // The operator's choice is in there: no other port is tried in its place.
        m_context.messages.showError(
            QStringLiteral("Не удается прочитать файл настроек %1: %2. Порт не открыт; "
                           "выберите его в меню «Порт».")
                .arg(QDir::toNativeSeparators(OptionsFile::path()), saved.error));
        SetLinkMenus(false);
        return;
    }
    const bool first = saved.state == OptionsFile::Contents::State::Missing;
    m_currentPort = first ? m_context.defaultPortName : saved.portName;
    if (openPort(m_currentPort)) {
        if (first) {
            rememberPort(m_currentPort);
        }
        sendFirstCommand();
        return;
    }
    const QString reason = m_connection->lastError();
    const QString message = first ? QStringLiteral("Ошибка при создании соединения")
                                  : QStringLiteral("Ошибка при соединении ") + m_currentPort;
    m_currentPort.clear();
    m_context.messages.showError(message + QStringLiteral("\n\n") + reason);
    SetLinkMenus(false);
}

void TMainForm::rememberPort(const QString &name)
{
    QString error;
    if (!OptionsFile::write(name, &error)) {
        m_context.messages.showError(
            QStringLiteral("Не удается записать файл настроек %1: %2. Порт %3 открыт, но при "
                           "следующем запуске программа его не вспомнит.")
                .arg(QDir::toNativeSeparators(OptionsFile::path()), error, name));
    }
}

QAction *TMainForm::addPortItem(const QString &name, const QString &description)
{
    QAction *item = new QAction(PortCaption(name, description), m_ui.inom);
    item->setData(name);
    item->setCheckable(true);
    m_ui.inom->insertAction(m_ui.otherPortSeparator, item);
    m_ui.portGroup->addAction(item);
    return item;
}

void TMainForm::IPortClick()
{
    QList<SerialDevices::Port> ports = m_context.serialDevices->ports();
    const bool listed = std::any_of(ports.cbegin(), ports.cend(), [this](const auto &port) {
        return port.name.compare(m_currentPort, Qt::CaseInsensitive) == 0;
    });
    if (!m_currentPort.isEmpty() && !listed) {
        ports.append({ m_currentPort, {} }); // a port given by its path, such as a pseudo-terminal
    }
    for (QAction *item : m_ui.portGroup->actions()) {
        m_ui.portGroup->removeAction(item);
        delete item;
    }
    for (const SerialDevices::Port &port : std::as_const(ports)) {
        addPortItem(port.name, port.description)
            ->setChecked(m_connection->isOpen()
                && port.name.compare(m_currentPort, Qt::CaseInsensitive) == 0);
    }
}

void TMainForm::ICom4Click(QAction *item)
{
    choosePort(item->data().toString());
}

void TMainForm::otherPortClick()
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("OtherPortDialog"));
    dialog.setWindowTitle(QStringLiteral("Другой порт"));
    dialog.setLabelText(
        QStringLiteral("Порт или путь к его устройству (например, ttyUSB1 или /dev/ttyUSB1):"));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (auto *edit = dialog.findChild<QLineEdit *>()) {
        edit->setObjectName(QStringLiteral("OtherPortName"));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString port = dialog.textValue().trimmed();
    if (!port.isEmpty()) {
        choosePort(port);
    }
}

void TMainForm::choosePort(const QString &name)
{
    const bool waitForOldPort = m_connection->isOpen() || !m_pendingPort.isEmpty();
    m_connection->closePort();
    if (!waitForOldPort) {
        openChosenPort(name);
        return;
    }
    // Give the old port a moment to settle before it is opened again.
    const bool alreadyWaiting = !m_pendingPort.isEmpty();
    m_pendingPort = name;
    if (!alreadyWaiting) {
        CallAfter(m_context.clock, PortSettleMs, this, [this] {
            const QString chosen = std::exchange(m_pendingPort, QString());
            openChosenPort(chosen);
        });
    }
}

void TMainForm::openChosenPort(const QString &name)
{
    if (openPort(name)) {
        SetLinkMenus(true);
        m_currentPort = name;
        for (QAction *item : m_ui.portGroup->actions()) {
            item->setChecked(item->data().toString() == name);
        }
        rememberPort(name);
        sendFirstCommand();
        return;
    }
    m_context.messages.showError(m_connection->lastError());
    openPort(m_currentPort); // back to the port that was open; its result does not matter
}

void TMainForm::mClosePortClick()
{
    m_connection->closePort();
}

void TMainForm::createPortStatus()
{
    m_portStatus = new QLabel(statusBar());
    m_portStatus->setObjectName(QStringLiteral("PortStatus"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_portStatus, 1);
    connect(m_connection.get(), &SerialConnection::stateChanged, this, &TMainForm::showPortStatus);
    showPortStatus();
}

void TMainForm::showPortStatus()
{
    m_portStatus->setText(m_connection->statusText());
    const bool failed = m_connection->failed();
    m_portStatus->setToolTip(failed ? m_connection->lastError() : QString());
    QPalette palette = m_portStatus->palette();
    palette.setColor(QPalette::WindowText,
        failed ? QColor(192, 0, 0) : statusBar()->palette().color(QPalette::WindowText));
    m_portStatus->setPalette(palette);
}

void TMainForm::onConnectionLost(const QString &message)
{
    m_grid->AddMessageLine(message, false);
}

void TMainForm::onConnectionRestored()
{
    // No reset: it would break off a test the station is running, and the station's own
    // codes bring the window up to date.
    m_grid->AddMessageLine(
        QStringLiteral("Связь с портом %1 восстановлена").arg(m_connection->portName()), false);
}

void TMainForm::SetLinkMenus(bool on)
{
    setMenuEnabled(m_ui.IPort, true);
    for (QMenu *menu : { m_ui.ITelv, m_ui.ITest, m_ui.N5 }) {
        setMenuEnabled(menu, on);
    }
    for (QAction *button : { m_ui.ToolButton1, m_ui.ToolButton2, m_ui.ToolButton3, m_ui.ToolButton5,
             m_ui.ToolButton6, m_ui.ToolButton7, m_ui.ToolButton9, m_ui.ToolButton8 }) {
        button->setEnabled(on);
    }
}

void TMainForm::SetCommandMenus(bool on)
{
    for (QMenu *menu : { m_ui.IPort, m_ui.ITelv, m_ui.ITest }) {
        setMenuEnabled(menu, on);
    }
    for (QAction *button : { m_ui.ToolButton1, m_ui.ToolButton2, m_ui.ToolButton3, m_ui.ToolButton5,
             m_ui.ToolButton6, m_ui.ToolButton7 }) {
        button->setEnabled(on);
    }
    m_ui.N8->setEnabled(on);
    m_ui.N9->setEnabled(on);
    setReservedItems(on && m_context.station.params.AccessGranted());
}

void TMainForm::setReservedItems(bool enabled)
{
    for (QAction *item : { m_ui.N31, m_ui.N6, m_ui.NT2, m_ui.NT3 }) {
        item->setEnabled(enabled);
    }
}

void TMainForm::ResetResultsPanel()
{
    const QString header = QStringLiteral("Результаты тестирования");
    if (m_ui.Label25->text() != header) {
        m_ui.Label25->setText(header);
        m_ui.ELIU->hide();
        m_ui.LLIU->hide();
    }
    for (QWidget *w : std::initializer_list<QWidget *> {
             m_ui.BitBtn5, m_ui.LBadSch_MW, m_ui.LBadUM_MW, m_ui.LBadUM_GMW }) {
        w->hide();
    }
}

void TMainForm::ShowServiceWord()
{
    const StationParameters &params = m_context.station.params;
    if (params.DmvBlocked()) {
        m_ui.Shape1->setColor(White);
    }
    const QString &word = params.ToolWord;
    m_ui.Edit5->setText(word.size() >= 8 ? QString(word.at(7)) : QString());
    m_ui.Edit6->setText(word.size() >= 7 ? QString(word.at(6)) : QString());
    ShowSensitivityFields();
    for (QLineEdit *edit : { m_ui.Edit2, m_ui.Edit7, m_ui.ELevg }) {
        setFieldLook(edit, params.GmvBlocked());
    }
    setFieldLook(m_ui.ELevd, params.DmvBlocked());
}

void TMainForm::ShowSensitivityFields()
{
    const StationParameters &params = m_context.station.params;
    const bool mvBlocked = params.MvBlocked();
    for (QLineEdit *edit : { m_ui.Edit3, m_ui.Edit4, m_ui.ELevm }) {
        setFieldLook(edit, mvBlocked);
        edit->setEnabled(!mvBlocked);
    }
    if (!mvBlocked && !params.MvSensitivityCheckAllowed) {
        for (QLineEdit *edit : { m_ui.Edit3, m_ui.Edit4 }) {
            setFieldLook(edit, true);
            edit->setEnabled(false);
        }
    }
}

void TMainForm::N3Click()
{
    m_help.showContents();
}

void TMainForm::AddMessageLine(const QString &text, bool withRange)
{
    m_grid->AddMessageLine(text, withRange);
}

void TMainForm::showRangeName(const QString &name)
{
    m_ui.Edit1->setText(name);
}

void TMainForm::showStationFree(bool free)
{
    m_ui.Label7->setText(free ? QStringLiteral("ТЕЛВ свободен") : QStringLiteral("ТЕЛВ занят"));
    QPalette palette = m_ui.Label7->palette();
    palette.setColor(QPalette::WindowText, free ? QColor(0, 255, 0) : QColor(255, 255, 0));
    m_ui.Label7->setPalette(palette);
}

void TMainForm::setTransmitting(Band band, bool on)
{
    RoundIndicator *shapes[] = { m_ui.Shape1, m_ui.Shape2, m_ui.Shape3 };
    shapes[static_cast<int>(band)]->setColor(on ? QColor(0, 128, 0) : White);
}

void TMainForm::showAlarm(Alarm alarm, bool visible)
{
    QLabel *labels[] = { m_ui.LBadSch_MW, m_ui.LBadUM_MW, m_ui.LBadUM_GMW };
    labels[static_cast<int>(alarm)]->setVisible(visible);
}

void TMainForm::setDmvLineSignal(bool present)
{
    m_ui.CheckBox1->setChecked(present);
}

void TMainForm::setNeedle(int position)
{
    m_ui.Gauge1->setPosition(position);
}

void TMainForm::showField(Field field, const QString &text)
{
    fieldEdit(field)->setText(text);
}

QLineEdit *TMainForm::fieldEdit(Field field) const
{
    switch (field) {
    case Field::DmvDeviation:
        return m_ui.ELevd;
    case Field::MvDeviation:
        return m_ui.ELevm;
    case Field::GmvDeviation:
        return m_ui.ELevg;
    case Field::MvAttenuation:
        return m_ui.Edit3;
    case Field::GmvAttenuation:
        return m_ui.Edit2;
    case Field::MvVerdict:
        return m_ui.Edit4;
    case Field::GmvVerdict:
        return m_ui.Edit7;
    case Field::LiuLevel:
        return m_ui.ELIU;
    }
    Q_UNREACHABLE();
}

void TMainForm::ClearMessageGrid()
{
    m_grid->ClearMessageGrid();
}

void TMainForm::showPanel(Panel panel)
{
    m_ui.Panel6->setVisible(panel == Panel::Results);
    m_ui.Panel4->setVisible(panel == Panel::SelfTest);
    m_ui.Panel5->setVisible(panel == Panel::RadioTest);
}

void TMainForm::ComboChange(int index)
{
    showRangeName(RangeName(index));
    m_context.station.CurrentRange = index;
}

void TMainForm::showSpecialModeResult(SpecialResult field, const QString &text)
{
    Q_EMIT specialModeResult(field, text);
}

void TMainForm::beep()
{
    QApplication::beep();
}

void TMainForm::postStationTest(int testNumber)
{
    // Handled by the event loop after the frame's handling has finished.
    QMetaObject::invokeMethod(
        this,
        [this, testNumber] {
            if (testNumber == 1) {
                Q_EMIT Test1();
            } else {
                Q_EMIT Test2();
            }
        },
        Qt::QueuedConnection);
}
