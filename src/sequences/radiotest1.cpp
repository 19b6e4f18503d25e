#include "sequences/radiotest1.h"

#include "context/programcontext.h"
#include "link/commands.h"
#include "sequences/radiotest1view.h"
#include "sequences/testhost.h"
#include "sequences/testparametersview.h"
#include "shared/testsession.h"

#include <algorithm>

RadioTest1::RadioTest1(ProgramContext &context, TestHost &host, TestParametersView &parameters,
    RadioTest1View &view, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_parameters(parameters)
    , m_view(view)
    , m_wait(context.clock, this)
{
    connect(&m_wait, &TestWait::pass, this, &RadioTest1::pass);
}

RadioTest1::~RadioTest1() = default;

void RadioTest1::ToolButton1Click()
{
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    m_context.station.test.SelectedTest = 1;
    if (const std::optional<TestRequest> request = PrepareTest1()) {
        TestBegin1(*request);
    }
}

std::optional<TestRequest> RadioTest1::PrepareTest1()
{
    TestSession &session = m_context.session;
    session.beginSetUp(TestNumber::RadioTest1);
    std::optional<TestRequest> request = m_parameters.askTestParameters(TestNumber::RadioTest1);
    session.endSetUp();
    if (request) {
        request->trainNumberKind = false; // this test knows the locomotive only
        TakeTestRequest(*request, m_context.station, m_host);
    }
    return request;
}

void RadioTest1::TestBegin1(const TestRequest &request)
{
    TestState &test = m_context.station.test;
    test.startCollecting(test.SelectedTest);
    m_context.session.beginRun(TestNumber::RadioTest1);
    m_host.SetCommandMenus(false);
    m_host.showPanel(TestHost::Panel::Results);
    m_view.showRadioTest1(QStringLiteral("Тестирование РВ по тесту 1"),
        QStringLiteral("№ локомотива: ") + request.locoNumber, DurationSeconds);

    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendRangeByte(buffer, request.range);
    AppendLocoNumberFrame(buffer, request.locoNumber);
    AppendTestStartFrame(buffer, TestNumber::RadioTest1);
    m_context.sender.SendCommand();

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
    const int elapsed
        = test.WaitActive ? std::min(m_wait.elapsedSeconds(), DurationSeconds) : DurationSeconds;
    m_view.showRadioTest1Elapsed(elapsed);
    if (elapsed >= DurationSeconds) {
        end();
    }
}

void RadioTest1::end()
{
    m_wait.stop();
    m_view.showRadioTest1Ended();
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
