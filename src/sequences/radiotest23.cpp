#include "sequences/radiotest23.h"

#include "context/programcontext.h"
#include "link/commands.h"
#include "sequences/radiotestview.h"
#include "sequences/testhost.h"
#include "sequences/testparametersview.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "shared/resulttext.h"
#include "shared/testsession.h"

#include <QList>
#include <QVariantList>

#include <utility>

namespace {

const QString Separator(52, u'*');

// Test 2 judges the three bands and their deviations (cells 0..5), test 3 the
// three bands and the radio station's own test-1 code (cells 0..2 and 6).
bool isNormal(int test, const MessageFrame &frame)
{
    if (test == TestNumber::RadioTest3) {
        return FrameNibblesToText(frame, 3).value == 0 && frame.Nibble[6] == 0;
    }
    return FrameNibblesToText(frame, 6).value == 0;
}

} // namespace

RadioTest23::RadioTest23(ProgramContext &context, TestHost &host, TestParametersView &parameters,
    RadioTestView &view, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_parameters(parameters)
    , m_view(view)
    , m_wait(context.clock, this)
{
    connect(&m_wait, &TestWait::pass, this, &RadioTest23::pass);
}

RadioTest23::~RadioTest23() = default;

void RadioTest23::ITest2Click()
{
    startFromPc(TestNumber::RadioTest2);
}

void RadioTest23::ITest3Click()
{
    startFromPc(TestNumber::RadioTest3);
}

void RadioTest23::startFromPc(int test)
{
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    m_context.station.test.SelectedTest = test;
    if (const std::optional<TestRequest> request = PrepareTest23()) {
        start(*request);
    }
}

std::optional<TestRequest> RadioTest23::PrepareTest23()
{
    TestSession &session = m_context.session;
    const int test = m_context.station.test.SelectedTest;
    session.beginSetUp(test);
    std::optional<TestRequest> request = m_parameters.askTestParameters(test);
    session.endSetUp();
    return request;
}

void RadioTest23::start(const TestRequest &request)
{
    TakeTestRequest(request, m_context.station, m_host);
    showStartedFromPc(request.trainNumberKind);
    TestBegin(request);
}

void RadioTest23::showStartedFromPc(bool trainNumberKind)
{
    const CurrentNumbers &numbers = m_context.station.numbers;
    m_view.clearResult();
    m_host.showPanel(TestHost::Panel::RadioTest);
    m_view.showTest(QStringLiteral("Тест %1 : результаты тестирования")
                        .arg(m_context.station.test.SelectedTest),
        trainNumberKind ? QStringLiteral("№ поезда: ") + numbers.TrainNumber : QString(),
        trainNumberKind ? QString() : QStringLiteral("№ локомотива: ") + numbers.LocoNumber);
}

void RadioTest23::TestBegin(const TestRequest &request)
{
    TestState &test = m_context.station.test;
    test.startCollecting(test.SelectedTest);
    m_context.station.beginRadioTestReports();
    m_host.SetCommandMenus(false);

    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendRangeByte(buffer, request.range);
    if (request.trainNumberKind) {
        AppendTrainNumberFrame(buffer, request.trainNumber);
    } else {
        AppendLocoNumberFrame(buffer, request.locoNumber);
    }
    AppendTestStartFrame(buffer, test.SelectedTest);
    m_context.sender.SendCommand();

    m_direction = QStringLiteral("От ТЕЛВ");
    RadioTestWait();
}

void RadioTest23::Test2()
{
    if (m_wait.running()) {
        return; // a running wait finds the report in the collection itself
    }
    const StationData &station = m_context.station;
    m_host.showPanel(TestHost::Panel::RadioTest);
    const QString train = station.ReceivedTrainNumber == QLatin1String("0000")
        ? QStringLiteral("XXXX")
        : station.ReceivedTrainNumber;
    m_view.showTest(QStringLiteral("Тест %1").arg(station.test.CollectingTest),
        QStringLiteral("Номер поезда: ") + train,
        QStringLiteral("Номер локомотива: ") + station.ReceivedLocoNumber);
    m_direction = QStringLiteral("От РВ");
    RadioTestWait();
}

void RadioTest23::RadioTestWait()
{
    TestState &test = m_context.station.test;
    test.WaitActive = true;
    m_context.session.beginRun(test.CollectingTest);
    m_event = QStringLiteral("Тест %1").arg(test.CollectingTest);

    m_view.showWaiting(StartStamp(m_context.clock.now()), TimeLimitSeconds);
    test.NoConfirmation = false;

    m_wait.start();
    pass(); // a result the station reported on its own shows at once
}

void RadioTest23::pass()
{
    if (!m_wait.running()) {
        return;
    }
    TestState &test = m_context.station.test;
    if (!test.WaitActive) {
        endWait(); // cancelled or reset: no row
        Q_EMIT finished();
        return;
    }
    const int collecting = test.CollectingTest;
    QList<Result> results;
    test.examineNewFrames([&](const MessageFrame &frame) { results.append(showResult(frame)); });
    int elapsed = m_wait.elapsedSeconds();
    if (!results.isEmpty() || test.NoConfirmation) {
        elapsed = TimeLimitSeconds;
    }
    m_view.showElapsed(elapsed);
    if (elapsed < TimeLimitSeconds) {
        return;
    }
    endWait();
    m_view.showEnded();
    if (results.isEmpty()) {
        m_view.showVerdict(QString(), QStringLiteral("Нет ответа"), true,
            ShowRadioTestCode(collecting, u"?", m_context.station.params.ToolWord));
        m_context.recorder.WriteToTable2(
            m_event, QStringLiteral("?"), QStringLiteral("Брак"), m_direction);
    }
    // The rows come after the wait has ended: the error box of a failed row (or the
    // question about a register row in edit) runs the event loop, and no pass of this
    // wait may run inside it. The station may begin its next test inside that loop, so
    // everything the rows hold is taken before the first is written.
    QList<QVariantList> rows;
    for (const Result &result : std::as_const(results)) {
        rows.append(
            m_context.recorder.Test23Row(m_event, result.code, result.verdict, m_direction));
    }
    const QString locoNumber = m_context.station.numbers.LocoNumber;
    ReceivedFactoryDigits digits = std::exchange(m_context.station.factoryDigitsOfResult, {});
    // Handed over: digits that are still live belong to no later test.
    m_context.station.factoryDigits.clear();
    for (const QVariantList &row : std::as_const(rows)) {
        if (SaveReceivedFactoryNumbers) {
            SaveReceivedFactoryNumbers(digits, locoNumber);
        }
        m_context.recorder.WriteTest23Row(row);
        m_host.AddLineWithoutRange(Separator);
    }
    Q_EMIT finished();
}

RadioTest23::Result RadioTest23::showResult(const MessageFrame &frame)
{
    const int test = m_context.station.test.CollectingTest;
    const QString code = FrameNibblesToText(frame, 7).text;
    const bool normal = isNormal(test, frame);
    m_view.showVerdict(code,
        QStringLiteral("Тест%1:%2")
            .arg(test)
            .arg(normal ? QStringLiteral("НОРМА") : QStringLiteral("БРАК")),
        !normal, ShowRadioTestCode(test, code, m_context.station.params.ToolWord));
    return { code, normal ? QStringLiteral("Норма") : QStringLiteral("Брак") };
}

void RadioTest23::endWait()
{
    m_wait.stop();
    m_host.SetCommandMenus(true);
    m_context.station.test.CollectingTest = 0;
    m_context.session.endRun();
}

void RadioTest23::BitBtn4Click()
{
    m_context.station.test.WaitActive = false;
    m_host.showPanel(TestHost::Panel::Results);
    pass(); // a running wait ends now
    m_context.recorder.ClearMeasurements();
    m_host.ClearMessageGrid();
}
