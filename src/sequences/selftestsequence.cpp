#include "sequences/selftestsequence.h"

#include "context/programcontext.h"
#include "link/commands.h"
#include "sequences/testhost.h"
#include "sequences/testwaitview.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "shared/resulttext.h"
#include "shared/testsession.h"

#include <algorithm>

namespace {

constexpr int ResultNibbles = 7;

} // namespace

SelfTestSequence::SelfTestSequence(
    ProgramContext &context, TestHost &host, TestWaitView &view, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_view(view)
    , m_wait(context.clock, this)
{
    connect(&m_wait, &TestWait::pass, this, &SelfTestSequence::pass);
}

SelfTestSequence::~SelfTestSequence() = default;

void SelfTestSequence::ITest1Click()
{
    m_host.SetCommandMenus(false);
    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendTestStartFrame(buffer, TestNumber::SelfTest);
    m_context.station.test.startCollecting(TestNumber::SelfTest);
    m_context.sender.SendCommand();
    SelfTestWait();
}

void SelfTestSequence::Test1()
{
    // The station's own report is in the collection already; a wait that is
    // running finds it by itself.
    if (!m_wait.running()) {
        SelfTestWait();
    }
}

void SelfTestSequence::SelfTestWait()
{
    m_context.station.test.WaitActive = true;
    m_context.session.beginRun(TestNumber::SelfTest);
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();

    m_host.showPanel(TestHost::Panel::SelfTest);
    m_view.showWaiting(StartStamp(m_context.clock.now()), TimeLimitSeconds);
    m_wait.start();
    pass(); // a result the station reported on its own shows at once
}

void SelfTestSequence::pass()
{
    if (!m_wait.running()) {
        return;
    }
    if (!m_context.station.test.WaitActive) {
        endWait(); // cancelled or reset: no row, no "Нет ответа "
        return;
    }
    QList<Result> results;
    m_context.station.test.examineNewFrames(
        [&](const MessageFrame &f) { results.append(showResult(f)); });
    if (results.isEmpty()) {
        const int elapsed = std::min(m_wait.elapsedSeconds(), TimeLimitSeconds);
        m_view.showElapsed(elapsed);
        if (elapsed < TimeLimitSeconds) {
            return;
        }
    }
    endWait();
    if (results.isEmpty()) {
        m_view.showVerdict(QString(), QStringLiteral("Нет ответа "), true, ShowSelfTestCode(u"?"));
        results.append({ QStringLiteral("?"), QStringLiteral("Брак") });
    }
    m_view.showEnded();
    // The rows come after the wait has ended: the error box of a failed row runs the
    // event loop, and no pass of this wait may run inside it.
    for (const Result &result : std::as_const(results)) {
        m_context.recorder.WriteToTable1(QStringLiteral("Тест 1"), result.code, result.verdict);
    }
}

SelfTestSequence::Result SelfTestSequence::showResult(const MessageFrame &frame)
{
    const FrameNibbles result = FrameNibblesToText(frame, ResultNibbles);
    const bool normal = result.value == 0;
    m_view.showVerdict(result.text,
        normal ? QStringLiteral("Тест ТЕЛВ:НОРМА") : QStringLiteral("Тест ТЕЛВ:БРАК"), !normal,
        ShowSelfTestCode(result.text));
    return { result.text, normal ? QStringLiteral("Норма") : QStringLiteral("Брак") };
}

void SelfTestSequence::endWait()
{
    m_wait.stop();
    m_context.station.test.CollectingTest = 0;
    m_context.session.endRun();
    m_host.SetCommandMenus(true);
}

void SelfTestSequence::BitBtn3Click()
{
    m_context.station.test.WaitActive = false;
    m_host.showPanel(TestHost::Panel::Results);
    pass(); // a running wait ends now
}
