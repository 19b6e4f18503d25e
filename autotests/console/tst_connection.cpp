#include "bytes.h"
#include "console/messagegrid.h"
#include "link/serialconnection.h"
#include "mainformfixture.h"
#include "ptypair.h"

#include <QFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

#include <sys/resource.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double cpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startUpWithOptionsSendsResetTwice()
    {
        Pty pty;
        QVERIFY(pty.isOpen());
        MainFormFixture f(pty.slavePath());
        QVERIFY(f.messages.errors.isEmpty());
        QCOMPARE(f.form->CurrentPort(), pty.slavePath());
        f.form->show();
        QCOMPARE(pty.readAtLeast(2), Bytes("D0 D0"));
        QCOMPARE(f.context.SentLog.bytes(), Bytes("D0 D0"));
    }

    void firstStartWritesOptionsForTheDefaultPort()
    {
        Pty pty;
        MainFormFixture f(std::nullopt, pty.slavePath());
        QVERIFY(f.messages.errors.isEmpty());
        QCOMPARE(fileBytes(OptionsFile::path()), pty.slavePath().toLocal8Bit() + "\r\n");
        f.form->show();
        QCOMPARE(pty.readAtLeast(2), Bytes("D0 D0"));
    }

    void missingPortLeavesOptionsAsItWas()
    {
        MainFormFixture f(QStringLiteral("ttyUSB97"));
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(
            f.messages.errors.first().startsWith(QStringLiteral("Ошибка при соединении ttyUSB97")));
        QCOMPARE(fileBytes(OptionsFile::path()), QByteArray("ttyUSB97\r\n"));
        f.form->show();
        f.clock.advance(1000);
        QVERIFY(f.context.SentLog.bytes().isEmpty()); // no port, no reset at showing
    }

    void noOptionsAndNoDefaultPort()
    {
        MainFormFixture f(std::nullopt);
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(
            f.messages.errors.first().startsWith(QStringLiteral("Ошибка при создании соединения")));
        QVERIFY(!QFile::exists(OptionsFile::path()));
    }

    void portInUseByAnotherProgram()
    {
        Pty pty;
        QSerialPort other;
        other.setPortName(pty.slavePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        MainFormFixture f(pty.slavePath());
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(f.messages.errors.first().contains(QStringLiteral("занят другой программой")),
                 qPrintable(f.messages.errors.first()));
    }

    void choosingAPortRewritesOptions()
    {
        Pty first;
        Pty second;
        MainFormFixture f(first.slavePath());
        f.form->show();
        QCOMPARE(first.readAtLeast(2), Bytes("D0 D0"));

        f.form->choosePort(second.slavePath());
        QVERIFY(!f.form->connection().isOpen()); // the old port settles first
        f.clock.advance(300);
        QVERIFY(f.form->connection().isOpen());
        QCOMPARE(f.form->CurrentPort(), second.slavePath());
        QCOMPARE(fileBytes(OptionsFile::path()), second.slavePath().toLocal8Bit() + "\r\n");
        QCOMPARE(second.readAtLeast(1), Bytes("D0"));
    }

    void failedChoiceReopensThePreviousPort()
    {
        Pty first;
        MainFormFixture f(first.slavePath());
        f.form->show();
        QCOMPARE(first.readAtLeast(2), Bytes("D0 D0"));
        f.form->choosePort(QStringLiteral("ttyUSB98"));
        f.clock.advance(300);
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(f.messages.errors.first().contains(QStringLiteral("ttyUSB98")));
        QVERIFY(f.form->connection().isOpen());
        QCOMPARE(f.form->CurrentPort(), first.slavePath());
        QCOMPARE(fileBytes(OptionsFile::path()), first.slavePath().toLocal8Bit() + "\r\n");
        QCOMPARE(first.readAtLeast(1, 200), QByteArray()); // no reset for the old port
    }

    void hangUpClosesOnceAndReopensWhenTheDeviceReturns()
    {
        auto first = std::make_unique<Pty>();
        QTemporaryDir links;
        const QString link = links.filePath(QStringLiteral("ttyTELV"));
        QVERIFY(QFile::link(first->slavePath(), link));
        MainFormFixture f(link);
        f.form->show();
        QCOMPARE(first->readAtLeast(2), Bytes("D0 D0"));

        auto *port = f.form->findChild<QSerialPort *>();
        QVERIFY(port);
        QSignalSpy errors(port, &QSerialPort::errorOccurred);
        QSignalSpy lost(&f.form->connection(), &SerialConnection::connectionLost);
        QSignalSpy restored(&f.form->connection(), &SerialConnection::connectionRestored);

        first->close();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(!f.form->connection().isOpen());

        const double before = cpuSeconds();
        QTest::qWait(300);
        QVERIFY2(cpuSeconds() - before < 0.15, "the event loop spins after the hang-up");
        QCOMPARE(lost.count(), 1);
        QVERIFY(errors.count() < 50);
        QCOMPARE(f.form->grid().lineCount(), 1); // told once, in the grid

        // The device comes back under the same name.
        Pty second;
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(second.slavePath(), link));
        f.clock.advance(1000);
        QCOMPARE(restored.count(), 1);
        QVERIFY(f.form->connection().isOpen());
        QCOMPARE(second.readAtLeast(1), Bytes("D0"));

        second.write(Bytes("41 C0"));
        QTRY_COMPARE(f.context.ReceivedLog.bytes().right(2), Bytes("41 C0"));
    }

    void receivedBytesReachTheAssemblyInOrder()
    {
        Pty pty;
        MainFormFixture f(pty.slavePath());
        QByteArray traffic;
        for (int i = 0; i < 3000; ++i) {
            traffic.append(static_cast<char>(i % 251));
        }
        pty.write(traffic);
        QTRY_COMPARE(f.context.ReceivedLog.size(), 1000);
        QCOMPARE(f.context.ReceivedLog.bytes(), traffic.right(1000));
    }

    void closingThePortStopsReception()
    {
        Pty pty;
        MainFormFixture f(pty.slavePath());
        f.form->connection().closePort();
        f.form->connection().closePort(); // twice does nothing more
        pty.write(Bytes("C0"));
        QTest::qWait(50);
        QCOMPARE(f.context.ReceivedLog.size(), 0);
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
