// Four PCs, each the real program with a station simulator of its own, recording the
// tests their stations report into one server, which is stopped and started again
// while they test. At the end every result a station sent is on the server once,
// each station's in the order sent, and no PC keeps any.
#include "throwawaycluster.h"

#include "link/commands.h"
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/trafficlog.h"
#include "records/databaseserver.h"
#include "records/databasetable.h"
#include "records/resultoutbox.h"
#include "records/tableschema.h"
#include "shared/codecs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <future>
#include <memory>
#include <vector>

namespace {

constexpr int Stations = 4;
// The simulated stations run their courses this many times faster than a real one.
constexpr char SimSpeed[] = "20";
// Generous for a process, a server stop or start, on a loaded machine.
constexpr int StartTimeoutMs = 30000;
// Tests each station reports while the server is up, down, and up again.
constexpr int TestsPerPhase = 2;
// Kept rows go out once the PC finds the server back, before its next new row, or at
// the latest with the outbox's retry.
constexpr int DeliveryTimeoutMs = ResultOutbox::RetryIntervalMs + 20000;
constexpr int BusyRetryMs = 50;
// The station's result frame.
constexpr std::uint8_t ResultFrameCode = 0xE2;

// A result as the station sent it: the test (1, 2 or 3) and its result code.
struct SentResult
{
    int test = 0;
    QString code;
};

// One station simulator and the tests it is asked to report on its own. Its replies
// and its traffic log come in one stream, so it says in order which test it
// started, what the PC sent, and which results it sent.
//
// The station is told the result code of each test by faults: position 1 is the
// station's number, positions 2 and 3 the test's running number. So every result
// names its station and is told from every other one.
class SimulatedStation final : public QObject, private ReceiveHandler
{
public:
    SimulatedStation(int number, QString pcDirectory)
        : m_number(number)
        , m_pcDirectory(std::move(pcDirectory))
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        connect(&m_process, &QProcess::readyReadStandardOutput, this, [this] {
            while (!m_port.isEmpty() && m_process.canReadLine()) {
                handleLine(QString::fromUtf8(m_process.readLine()).trimmed());
            }
        });
        m_retry.setSingleShot(true);
        m_retry.setInterval(BusyRetryMs);
        connect(&m_retry, &QTimer::timeout, this, [this] { m_process.write(m_command); });
    }

    ~SimulatedStation() override
    {
        if (!quit()) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Ends the simulator; false unless it ends by itself and well.
    bool quit()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            m_process.waitForFinished(StartTimeoutMs);
        }
        return m_process.state() == QProcess::NotRunning
            && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    // Starts the simulator; its port is then named in Options.dat of the PC's directory.
    bool start()
    {
        m_process.start(QStringLiteral(TELV2_SIM_BINARY),
            { "--speed", SimSpeed, "--options-dir", m_pcDirectory, "--log" });
        if (!m_process.waitForStarted(StartTimeoutMs)) {
            return false;
        }
        // The port is named once Options.dat names it.
        if (!QTest::qWaitFor([this] { return m_process.canReadLine(); }, StartTimeoutMs)) {
            return false;
        }
        m_port = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return QFile::exists(m_pcDirectory + QStringLiteral("/Options.dat"));
    }

    // While testing, the station reports one test after another.
    void setTesting(bool testing)
    {
        m_testing = testing;
        if (m_testing && !m_outstanding && m_pcConnected) {
            requestTest();
        }
    }

    bool pcConnected() const { return m_pcConnected; }
    // No test asked for is still to come.
    bool idle() const { return !m_outstanding; }
    const QList<SentResult> &sent() const { return m_sent; }
    QString codeDigit() const { return QString::number(m_number); }

private:
    void handleLine(const QString &line)
    {
        if (line.startsWith(QStringLiteral("ПК   > "))) {
            fromPc(QByteArray::fromHex(line.mid(7).toLatin1()));
        } else if (line.startsWith(QStringLiteral("ТЕЛВ > "))) {
            for (char b : QByteArray::fromHex(line.mid(7).toLatin1())) {
                m_assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
            }
        } else if (line.startsWith(QStringLiteral("станция занята"))) {
            m_retry.start(); // the faults wait for the test that is started
        } else if (line.endsWith(QStringLiteral("начат"))) {
            m_started = true;
        }
    }

    void fromPc(const QByteArray &bytes)
    {
        if (!m_pcConnected) {
            m_pcConnected = true;
            setTesting(m_testing);
        }
        // The PC's reset (at its start) ends a test the station had begun: it is
        // asked for again.
        if (m_started && bytes.contains(char(CommandByte::Reset))) {
            m_started = false;
            requestTest();
        }
    }

    void HandleStatusCode(std::uint8_t) override { }

    void DispatchFrame(const MessageFrame &frame) override
    {
        const int test = frame.Nibble[7];
        if (frame.Code != ResultFrameCode || frame.Count != MessageFrame::NibbleCells || test < 1
            || test > 3) {
            return;
        }
        m_sent.append({ test, FrameNibblesToText(frame, InjectedCells).text });
        m_outstanding = false;
        m_started = false;
        ++m_tests;
        if (m_testing) {
            requestTest();
        }
    }

    void requestTest()
    {
        m_outstanding = true;
        QByteArray faults = QByteArrayLiteral("fault 1 ") + QByteArray::number(m_number) + '\n';
        for (const auto &[position, value] :
            { std::pair { 2, m_tests / 16 }, { 3, m_tests % 16 } }) {
            if (value > 0) {
                faults += QStringLiteral("fault %1 %2\n").arg(position).arg(value).toLatin1();
            }
        }
        // Self-tests and both radio tests by turns.
        static const QByteArray Kinds[] = { "selftest\n", "test2\n", "selftest\n", "test3\n" };
        m_command = Kinds[m_tests % 4];
        m_process.write(faults + m_command);
    }

    static constexpr int InjectedCells = 7;

    const int m_number;
    const QString m_pcDirectory;
    QProcess m_process;
    QString m_port;
    TrafficLog m_log;
    FrameAssembler m_assembler { *this, m_log };
    QTimer m_retry;
    QByteArray m_command;
    bool m_testing = false;
    bool m_pcConnected = false;
    bool m_outstanding = false;
    bool m_started = false;
    int m_tests = 1;
    QList<SentResult> m_sent;
};

// One PC: a portable copy of the program in a folder of its own, which is its working
// directory (Options.dat) and its tables directory (the outbox), with its own home and
// configuration, whose alias names the server.
class Pc
{
public:
    explicit Pc(QString directory)
        : m_directory(std::move(directory))
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    }

    ~Pc()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
        if (QTest::currentTestFailed()) {
            qWarning("%s said:\n%s", qPrintable(m_directory), m_process.readAll().constData());
        }
    }

    const QString &directory() const { return m_directory; }

    bool start(const ServerAddress &server, QString *error)
    {
        const QString program = m_directory + QStringLiteral("/telv2");
        const QString config = m_directory + QStringLiteral("/config");
        if (!QFile::copy(QStringLiteral(TELV2_PROGRAM_BINARY), program)) {
            *error = "cannot copy the program to " + program;
            return false;
        }
        if (!NameServer(config, server)) {
            *error = "cannot write the alias under " + config;
            return false;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_directory + QStringLiteral("/home"));
        environment.insert("XDG_CONFIG_HOME", config);
        environment.insert("XDG_DATA_HOME", m_directory + QStringLiteral("/data"));
        environment.insert("XDG_CACHE_HOME", m_directory + QStringLiteral("/cache"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(m_directory);
        m_process.start(program, {});
        if (!m_process.waitForStarted(StartTimeoutMs)) {
            *error = m_process.errorString();
            return false;
        }
        return true;
    }

    bool running() const { return m_process.state() == QProcess::Running; }

    // The rows the PC keeps for the server; -1 when the outbox cannot be read now.
    qint64 keptRows() const
    {
        if (!QFile::exists(QDir(m_directory).filePath(OutboxSchema().fileName))) {
            return 0;
        }
        DatabaseTable outbox(DatabaseLocation(m_directory + u'/'), OutboxSchema());
        return outbox.open(DatabaseTable::OpenMode::ExistingOnly) ? outbox.rowCount() : -1;
    }

private:
    // Names the server in the alias of a configuration directory, as the database
    // dialog records the operator's choice.
    static bool NameServer(const QString &configDirectory, const ServerAddress &server)
    {
        const QByteArray own = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDirectory));
        const bool written = WriteAliasServer(server);
        if (own.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", own);
        }
        return written;
    }

    QString m_directory;
    QProcess m_process;
};

template<typename T> bool Ready(const std::future<T> &future)
{
    return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

// Handles events until check() finds nothing wrong; what it found last otherwise.
// The server is read at most every quarter second.
QString WaitUntilRight(const std::function<QString()> &check, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QString wrong = check();
    while (!wrong.isEmpty() && !deadline.hasExpired()) {
        QTest::qWait(250);
        wrong = check();
    }
    return wrong;
}

QString Describe(const QStringList &codes)
{
    return QStringLiteral("[%1]").arg(codes.join(u' '));
}

} // namespace

class TestProgramsOnServer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyResultOnceWhenTheServerRestartsMidway()
    {
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const ServerAddress server = cluster.newDatabase();
        QTemporaryDir root;
        QVERIFY(root.isValid());

        std::vector<std::unique_ptr<SimulatedStation>> stations;
        std::vector<std::unique_ptr<Pc>> pcs;
        for (int s = 0; s < Stations; ++s) {
            const QString directory = root.filePath(QStringLiteral("pc%1").arg(s + 1));
            QVERIFY(QDir().mkpath(directory));
            stations.push_back(std::make_unique<SimulatedStation>(s + 1, directory));
            QVERIFY2(stations.back()->start(), "the simulator gave no port");
            pcs.push_back(std::make_unique<Pc>(directory));
            QString error;
            QVERIFY2(pcs.back()->start(server, &error), qPrintable(error));
            stations.back()->setTesting(true);
        }
        const auto everyStation = [&](const std::function<bool(int)> &condition) {
            for (int s = 0; s < Stations; ++s) {
                if (!condition(s)) {
                    return false;
                }
            }
            return true;
        };
        const auto sentBy = [&](int s) { return int(stations[s]->sent().size()); };
        QTRY_VERIFY2_WITH_TIMEOUT(everyStation([&](int s) { return stations[s]->pcConnected(); }),
            "a program did not open its station's port", StartTimeoutMs);

        // The server goes down while the stations test, not between two tests.
        QTRY_VERIFY_WITH_TIMEOUT(
            everyStation([&](int s) { return sentBy(s) >= TestsPerPhase; }), StartTimeoutMs);
        std::future<bool> stopped = std::async(std::launch::async, [&] { return cluster.stop(); });
        QTRY_VERIFY_WITH_TIMEOUT(Ready(stopped), StartTimeoutMs);
        QVERIFY(stopped.get());

        // The tests reported while it is down are kept on the PCs.
        QList<int> sentBeforeOutage(Stations);
        for (int s = 0; s < Stations; ++s) {
            sentBeforeOutage[s] = sentBy(s);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            everyStation([&](int s) { return sentBy(s) >= sentBeforeOutage[s] + TestsPerPhase; }),
            StartTimeoutMs);
        // Half of the stations then rest: no new row of theirs pushes their kept rows
        // out, the PC has to send them on its own once the server is back.
        const auto resting = [](int s) { return s % 2 == 1; };
        for (int s = 0; s < Stations; ++s) {
            stations[s]->setTesting(!resting(s));
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            everyStation([&](int s) { return !resting(s) || stations[s]->idle(); }),
            StartTimeoutMs);
        const QString notKept = WaitUntilRight(
            [&] {
                for (int s = 0; s < Stations; ++s) {
                    if (pcs[s]->keptRows() < sentBy(s) - sentBeforeOutage[s]) {
                        return QStringLiteral("PC %1 keeps %2 rows of its %3 results")
                            .arg(s + 1)
                            .arg(pcs[s]->keptRows())
                            .arg(sentBy(s) - sentBeforeOutage[s]);
                    }
                }
                return QString();
            },
            StartTimeoutMs);
        QVERIFY2(notKept.isEmpty(), qPrintable(notKept));

        std::future<bool> started = std::async(std::launch::async, [&] { return cluster.start(); });
        QTRY_VERIFY_WITH_TIMEOUT(Ready(started), StartTimeoutMs);
        QVERIFY(started.get());
        QList<int> sentBeforeRestart(Stations);
        for (int s = 0; s < Stations; ++s) {
            sentBeforeRestart[s] = sentBy(s);
        }
        QTRY_VERIFY_WITH_TIMEOUT(everyStation([&](int s) {
            return resting(s) || sentBy(s) >= sentBeforeRestart[s] + TestsPerPhase;
        }),
            StartTimeoutMs);
        for (int s = 0; s < Stations; ++s) {
            stations[s]->setTesting(false);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            everyStation([&](int s) { return stations[s]->idle(); }), StartTimeoutMs);

        const QString wrong = WaitUntilRight(
            [&] { return whatDiffers(server, root.path(), stations, pcs); }, DeliveryTimeoutMs);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        for (int s = 0; s < Stations; ++s) {
            QVERIFY2(pcs[s]->running(), qPrintable(QStringLiteral("PC %1 ended").arg(s + 1)));
            QVERIFY2(stations[s]->quit(),
                qPrintable(QStringLiteral("simulator %1 did not end well").arg(s + 1)));
        }
        int total = 0;
        int whileDown = 0;
        for (int s = 0; s < Stations; ++s) {
            total += sentBy(s);
            whileDown += sentBeforeRestart[s] - sentBeforeOutage[s];
        }
        qInfo("%d results from %d stations, %d while the server was down", total, Stations,
            whileDown);
    }

private:
    // What differs between the server and what the stations sent, and which PC still
    // keeps rows; empty when nothing does.
    static QString whatDiffers(const ServerAddress &server, const QString &scratch,
        const std::vector<std::unique_ptr<SimulatedStation>> &stations,
        const std::vector<std::unique_ptr<Pc>> &pcs)
    {
        QStringList differences;
        const auto read = [&](const TableSchema &schema, QList<TableRow> *rows) {
            DatabaseTable table(DatabaseLocation(scratch, server), schema);
            if (!table.open(DatabaseTable::OpenMode::ExistingOnly) || !table.readAll(rows)) {
                differences.append(table.errorText());
            }
        };
        QList<TableRow> selfTests;
        QList<TableRow> radioTests;
        read(Tests1Schema(), &selfTests);
        read(Test23Schema(), &radioTests);
        if (!differences.isEmpty()) {
            return differences.join(u'\n');
        }
        const int selfCode = Tests1Schema().fieldIndex(QStringLiteral("ResultCod"));
        const int radioCode = Test23Schema().fieldIndex(QStringLiteral("ResultCod"));
        const int radioEvent = Test23Schema().fieldIndex(QStringLiteral("Event"));
        qsizetype attributed = 0;
        for (std::size_t s = 0; s < stations.size(); ++s) {
            const SimulatedStation &station = *stations[s];
            // Rows in the order the server took them, results in the order sent.
            QStringList onServer;
            for (const TableRow &row : std::as_const(selfTests)) {
                const QString code = row.values.at(selfCode).toString();
                if (code.startsWith(station.codeDigit())) {
                    onServer.append(QStringLiteral("1:") + code);
                }
            }
            for (const TableRow &row : std::as_const(radioTests)) {
                const QString code = row.values.at(radioCode).toString();
                if (code.startsWith(station.codeDigit())) {
                    onServer.append(row.values.at(radioEvent).toString().right(1) + u':' + code);
                }
            }
            QStringList sent;
            for (const int table : { 1, 23 }) {
                for (const SentResult &result : station.sent()) {
                    if ((result.test == 1) == (table == 1)) {
                        sent.append(QStringLiteral("%1:%2").arg(result.test).arg(result.code));
                    }
                }
            }
            attributed += onServer.size();
            if (onServer != sent) {
                differences.append(QStringLiteral("station %1 sent %2, the server holds %3")
                                       .arg(s + 1)
                                       .arg(Describe(sent), Describe(onServer)));
            }
            if (const qint64 kept = pcs[s]->keptRows(); kept != 0) {
                differences.append(QStringLiteral("PC %1 keeps %2 rows").arg(s + 1).arg(kept));
            }
        }
        if (attributed != selfTests.size() + radioTests.size()) {
            differences.append(QStringLiteral("%1 rows on the server are no station's")
                                   .arg(selfTests.size() + radioTests.size() - attributed));
        }
        return differences.join(u'\n');
    }
};

QTEST_GUILESS_MAIN(TestProgramsOnServer)
#include "tst_programsonserver.moc"
