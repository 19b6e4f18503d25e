#include "tests/radiotest1.h"

#include "console/gauges.h"
#include "console/mainformcontrols.h"
#include "console/programcontext.h"
#include "link/commands.h"
#include "tests/testhost.h"
#include "tests/testparametersdialog.h"
#include "tests/testsession.h"

#include <QLabel>
#include <QPushButton>

RadioTest1::RadioTest1(ProgramContext &context, TestHost &host, TFTestDlg &dialog,
    const MainFormControls &window, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_dialog(dialog)
    , m_window(window)
    , m_wait(context.clock, this)
{
    connect(&m_wait, &TestWait::pass, this, &RadioTest1::pass);
    connect(m_window.BitBtn5, &QPushButton::clicked, this, &RadioTest1::BitBtn5Click);
}

RadioTest1::~RadioTest1() = default;

void RadioTest1::ToolButton1Click()
{
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    m_context.station.test.SelectedTest = 1;
    if (PrepareTest1()) {
        TestBegin1();
    }
}

bool RadioTest1::PrepareTest1()
{
    m_dialog.fixNumberKind(TFTestDlg::LocoNumberKind);
    TestSession &session = m_context.session;
    session.beginSetUp(TestNumber::RadioTest1);
    const bool confirmed = m_dialog.exec() == QDialog::Accepted;
    session.endSetUp();
    if (!confirmed) {
        return false;
    }
    m_window.Label25->setText(QStringLiteral("Тестирование РВ по тесту 1"));
    m_host.showPanel(TestHost::Panel::Results);
    m_window.Label27->setText(
        QStringLiteral("№ локомотива: ") + m_context.station.numbers.LocoNumber);
    m_window.Label27->show();
    m_window.Gauge4->show();
    return true;
}

void RadioTest1::TestBegin1()
{
    TestState &test = m_context.station.test;
    test.startCollecting(test.SelectedTest);
    m_context.session.beginRun(TestNumber::RadioTest1);
    m_host.SetCommandMenus(false);

    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendRangeByte(buffer, m_context.station.CurrentRange);
    AppendLocoNumberFrame(buffer, m_context.station.numbers.LocoNumber);
    AppendTestStartFrame(buffer, TestNumber::RadioTest1);
    m_context.sender.SendCommand();

    m_window.Gauge4->setMaximum(DurationSeconds);
    m_window.Gauge4->setPosition(0);
    m_window.Gauge4->show();
    m_window.BitBtn5->show();
    test.WaitActive = true;
    m_wait.start();
}

void RadioTest1::pass()
{
    if (!m_wait.running()) {
        return;
    }
    TestState &test = m_context.station.test;
    // "Нет подтверждения" does not end this test; the flag is cleared so that it
    // does not end the next radio test 2 or 3 at once.
    test.NoConfirmation = false;
    const int elapsed = test.WaitActive ? m_wait.elapsedSeconds() : DurationSeconds;
    m_window.Gauge4->setPosition(elapsed);
    if (m_window.Gauge4->position() >= DurationSeconds) {
        end();
    }
}

void RadioTest1::end()
{
    m_wait.stop();
    m_window.BitBtn5->hide();
    m_window.Gauge4->hide();
    m_window.Label27->hide();
    m_window.Label25->setText(QStringLiteral("Результаты тестирования"));
    m_context.sendSingleByte(CommandByte::Reset);
    m_host.SetCommandMenus(true);
    m_host.ClearMessageGrid();
    m_context.station.test.CollectingTest = 0;
    m_context.session.endRun();
}

void RadioTest1::BitBtn5Click()
{
    m_context.station.test.WaitActive = false;
    pass();
}
