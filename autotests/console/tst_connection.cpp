#include "bytes.h"
#include "console/messagegrid.h"
#include "deadprocess.h"
#include "link/portaccess.h"
#include "link/serialconnection.h"
#include "link/serialdevices.h"
#include "mainformfixture.h"
#include "plainuserrights.h"
#include "ptypair.h"
#include "readonlydirectory.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <vector>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString portStatus(const MainFormFixture &f)
{
    auto *label = f.form->findChild<QLabel *>(QStringLiteral("PortStatus"));
    return label ? label->text() : QStringLiteral("no status bar");
}

QString gridLine(MainFormFixture &f, int number)
{
    const QTableWidgetItem *item = f.ui().StringGrid1->item(number - 1, 2);
    return item ? item->text() : QString();
}

// The items of "Выбор порта": captions, "[x] " before the checked one, "" for a separator.
QStringList portItems(MainFormFixture &f)
{
    QStringList items;
    for (const QAction *item : f.ui().inom->actions()) {
        items.append((item->isChecked() ? QStringLiteral("[x] ") : QString()) + item->text());
    }
    return items;
}

// Plays the operator in the "Другой порт" dialog that opens next: types the path and
// presses OK, or presses Отмена when path is null.
void answerOtherPort(const QString &path)
{
    auto *watch = new QTimer;
    watch->setInterval(1);
    QObject::connect(watch, &QTimer::timeout, [watch, path] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QLatin1String("OtherPortDialog")) {
            return;
        }
        watch->deleteLater();
        watch->stop();
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("OtherPortName"));
        if (path.isNull() || !edit) {
            dialog->reject();
        } else {
            edit->setText(path);
            dialog->accept();
        }
    });
    watch->start();
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

    // The serial layer takes the lock file before it looks for the device.
    void aMissingDeviceIsNotFoundAlsoWhileItsLockIsHeld()
    {
        QLockFile held(PortLockFilePath(QStringLiteral("/dev/ttyNoSuchTELV")));
        QVERIFY(held.tryLock());
        MainFormFixture f(QStringLiteral("ttyNoSuchTELV"));
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(
            f.messages.errors.first().contains(QStringLiteral("Порт ttyNoSuchTELV не найден.")),
            qPrintable(f.messages.errors.first()));
        QCOMPARE(portStatus(f),
            QStringLiteral("Нет связи с портом ttyNoSuchTELV (устройство не найдено)"));
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
        const QString holder = QStringLiteral("занят другой программой (процесс %1)")
                                   .arg(QCoreApplication::applicationPid());
        QVERIFY2(f.messages.errors.first().contains(holder), qPrintable(f.messages.errors.first()));
    }

    // A lock file in a form the serial layer does not judge itself (written on a
    // machine of another name): cleared when its process has ended, kept untouched while
    // that process runs.
    void aLockFileIsClearedOnlyWhenItsProcessHasEnded_data()
    {
        QTest::addColumn<bool>("holderRuns");
        QTest::newRow("process ended") << false;
        QTest::newRow("process runs") << true;
    }
    void aLockFileIsClearedOnlyWhenItsProcessHasEnded()
    {
        QFETCH(bool, holderRuns);
        Pty pty;
        const QString lockPath = PortLockFilePath(pty.slavePath());
        QVERIFY(!lockPath.isEmpty());
        const qint64 holder = holderRuns ? QCoreApplication::applicationPid() : deadProcess();
        const QByteArray lockText = QByteArray::number(holder) + "\ntelv2\nanother-machine\n";
        {
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(lockText);
        }
        const auto removeLock = qScopeGuard([&] { QFile::remove(lockPath); });
        MainFormFixture f(pty.slavePath());
        if (!holderRuns) {
            QVERIFY2(f.messages.errors.isEmpty(), qPrintable(f.messages.errors.join("\n")));
            QVERIFY(f.form->connection().isOpen());
            QCOMPARE(pty.readAtLeast(1), Bytes("D0"));
            // The lock is ours now.
            QVERIFY(fileBytes(lockPath).trimmed().startsWith(
                QByteArray::number(QCoreApplication::applicationPid())));
            return;
        }
        // The cause in the operator's words, and nothing of the system's after it.
        QCOMPARE(f.messages.errors,
            QStringList { QStringLiteral("Ошибка при соединении %1\n\nПорт %1 занят другой "
                                         "программой (процесс %2).")
                              .arg(pty.slavePath())
                              .arg(holder) });
        QVERIFY(!f.form->connection().isOpen());
        QCOMPARE(fileBytes(lockPath), lockText);
        f.form->show();
        QCOMPARE(pty.readAtLeast(1, 200), QByteArray());
    }

    // The operator's port is in the file; neither the default port nor any other is
    // tried in its place, and the file stays as it is.
    void anUnreadableOptionsFileIsToldAndNoPortTried_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no permission to read") << "mode 000"
                                               << "нет права на чтение файла";
        QTest::newRow("a directory") << "directory"
                                     << "это папка, а не файл";
        QTest::newRow("a link to nothing")
            << "dangling link"
            << "это ссылка на несуществующий файл /nonexistent/Options.dat";
    }
    void anUnreadableOptionsFileIsToldAndNoPortTried()
    {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        Pty configured;
        Pty defaultPort;
        std::optional<PlainUserRights> asUser;
        QMap<QString, QByteArray> before;
        MainFormFixture f(std::nullopt, defaultPort.slavePath(), [&] {
            const QString path = QStringLiteral("Options.dat");
            if (how == "mode 000") {
                QVERIFY(OptionsFile::write(configured.slavePath()));
                QVERIFY(QFile::setPermissions(path, {}));
            } else if (how == "directory") {
                QVERIFY(QDir::current().mkdir(path));
            } else {
                QVERIFY(QFile::link(QStringLiteral("/nonexistent/Options.dat"), path));
            }
            before = FileChecksums(QDir::currentPath());
            if (how == "mode 000") {
                asUser.emplace();
            }
        });
        asUser.reset();
        QCOMPARE(f.messages.errors,
            QStringList { "Не удается прочитать файл настроек " + OptionsFile::path() + ": "
                + reason + ". Порт не открыт; выберите его в меню «Порт»." });
        QVERIFY(!f.form->connection().isOpen());
        QCOMPARE(f.form->CurrentPort(), QString());
        QVERIFY(!f.ui().ITelv->isEnabled());
        QCOMPARE(portStatus(f), QStringLiteral("Порт не выбран"));
        f.form->show();
        QCOMPARE(defaultPort.readAtLeast(1, 200), QByteArray());
        QCOMPARE(configured.readAtLeast(1, 50), QByteArray());
        QVERIFY(how != "directory" || QFileInfo(OptionsFile::path()).isDir());
        QVERIFY(before.contains("Options.dat") || how == "directory");
        QCOMPARE(
            FileChecksums(QDir::currentPath()).value("Options.dat"), before.value("Options.dat"));
    }

    void anOptionsFileThatCannotBeWrittenIsToldAndThePortStaysOpen()
    {
        Pty pty;
        MainFormFixture f(std::nullopt, QStringLiteral("ttyNoSuchDefault"),
            [] { QVERIFY(QDir::current().mkdir(QStringLiteral("Options.dat"))); });
        f.messages.errors.clear();
        f.form->choosePort(pty.slavePath());
        QCOMPARE(f.messages.errors.size(), 1);
        const QString &error = f.messages.errors.first();
        QVERIFY2(
            error.startsWith("Не удается записать файл настроек " + OptionsFile::path() + ": "),
            qPrintable(error));
        QVERIFY(f.form->connection().isOpen());
        QCOMPARE(f.form->CurrentPort(), pty.slavePath());
        QCOMPARE(pty.readAtLeast(1), Bytes("D0"));
        QVERIFY(QFileInfo(OptionsFile::path()).isDir());
    }

    void theStatusBarShowsThePortAndItsState()
    {
        Pty pty;
        MainFormFixture f;
        QCOMPARE(portStatus(f),
            QStringLiteral("Нет связи с портом ttyNoSuchPort (устройство не найдено)"));
        auto *status = f.form->findChild<QLabel *>(QStringLiteral("PortStatus"));
        QCOMPARE(status->toolTip(), f.form->connection().lastError());

        f.form->choosePort(pty.slavePath());
        QCOMPARE(portStatus(f), "Порт " + pty.slavePath() + " открыт");
        QCOMPARE(status->toolTip(), QString());
        f.form->mClosePortClick();
        QCOMPARE(portStatus(f), QStringLiteral("Порт закрыт"));

        // Below the client area, which keeps its size.
        f.form->show();
        QCOMPARE(f.form->centralWidget()->size(), QSize(683, 408));
        QVERIFY(f.form->statusBar()->isVisible());
        QVERIFY(
            f.form->statusBar()->geometry().top() >= f.form->centralWidget()->geometry().bottom());
    }

    void thePortMenuListsTheSystemsPortsEachTimeItOpens()
    {
        Pty pty;
        MainFormFixture f(pty.slavePath());
        f.devices.listed = { { "ttyS0", {} }, { "ttyUSB1", "FT232R USB UART" } };
        f.form->IPortClick();
        QCOMPARE(portItems(f),
            QStringList({ "ttyS0", "ttyUSB1 — FT232R USB UART", "[x] " + pty.slavePath(), "",
                "Другой порт…" }));

        f.devices.listed = { { "ttyACM0", "Station adapter" }, { "ttyS0", {} } };
        f.form->connection().closePort();
        f.form->IPortClick();
        QCOMPARE(portItems(f),
            QStringList(
                { "ttyACM0 — Station adapter", "ttyS0", pty.slavePath(), "", "Другой порт…" }));

        // A listed item opens the port by its name, not by its caption.
        f.form->ICom4Click(f.ui().inom->actions().first());
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(f.messages.errors.first().contains(QStringLiteral("Порт ttyACM0 не найден.")),
            qPrintable(f.messages.errors.first()));
    }

    void choosingAPortRewritesOptions_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("a listed port") << false;
        QTest::newRow("a path typed in Другой порт…") << true;
    }
    void choosingAPortRewritesOptions()
    {
        QFETCH(bool, typed);
        Pty first;
        Pty second;
        MainFormFixture f(first.slavePath());
        f.form->show();
        QCOMPARE(first.readAtLeast(2), Bytes("D0 D0"));

        if (typed) {
            answerOtherPort(QString()); // Отмена changes nothing
            f.form->otherPortClick();
            QVERIFY(f.form->connection().isOpen());
            answerOtherPort("  " + second.slavePath() + " ");
            f.form->otherPortClick();
        } else {
            f.form->choosePort(second.slavePath());
        }
        QVERIFY(!f.form->connection().isOpen()); // the old port settles first
        f.clock.advance(300);
        QVERIFY(f.form->connection().isOpen());
        QCOMPARE(f.form->CurrentPort(), second.slavePath());
        QCOMPARE(fileBytes(OptionsFile::path()), second.slavePath().toLocal8Bit() + "\r\n");
        QCOMPARE(second.readAtLeast(1), Bytes("D0"));
        QCOMPARE(portStatus(f), "Порт " + second.slavePath() + " открыт");
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

    // The port's name is a link, as /dev/ttyUSB0 or /dev/serial/by-id/… would be; after
    // the hang-up the name comes to lead to another device.
    void aLostPortIsReopenedOnlyForTheSameDevice_data()
    {
        QTest::addColumn<QString>("lostIdentity");
        QTest::addColumn<QString>("newIdentity");
        QTest::addColumn<bool>("reopened");
        QTest::newRow("pseudo-terminals have no identity") << QString() << QString() << false;
        QTest::newRow("the same adapter comes back") << "0403:6001:A50285BI"
                                                     << "0403:6001:A50285BI" << true;
        QTest::newRow("another adapter of the same make takes the name")
            << "0403:6001:A50285BI"
            << "0403:6001:FT9XK2QZ" << false;
        QTest::newRow("a device without identity takes the name")
            << "0403:6001:A50285BI" << QString() << false;
    }
    void aLostPortIsReopenedOnlyForTheSameDevice()
    {
        QFETCH(QString, lostIdentity);
        QFETCH(QString, newIdentity);
        QFETCH(bool, reopened);
        auto first = std::make_unique<Pty>();
        QTemporaryDir links;
        const QString link = links.filePath(QStringLiteral("ttyTELV"));
        QVERIFY(QFile::link(first->slavePath(), link));
        MainFormFixture f;
        f.devices.identities.insert(first->slavePath(), lostIdentity);
        f.form->choosePort(link);
        QVERIFY(f.form->connection().isOpen());
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
        QCOMPARE(portStatus(f),
            "Нет связи с портом " + link + " (устройство отключено или не отвечает)");

        const double before = cpuSeconds();
        QTest::qWait(300);
        QVERIFY2(cpuSeconds() - before < 0.15, "the event loop spins after the hang-up");
        QCOMPARE(lost.count(), 1);
        QVERIFY(errors.count() < 50);
        QCOMPARE(f.form->grid().lineCount(), 1); // told once, in the grid

        // Another device appears under the same name.
        Pty second;
        f.devices.identities.insert(second.slavePath(), newIdentity);
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(second.slavePath(), link));
        f.clock.advance(5000);
        QCOMPARE(restored.count(), reopened ? 1 : 0);
        QCOMPARE(f.form->connection().isOpen(), reopened);
        // Never a reset: the station may be in the middle of a test.
        QCOMPARE(second.readAtLeast(1, 200), QByteArray());
        if (!reopened) {
            QCOMPARE(f.form->grid().lineCount(), 1);
            return;
        }
        QCOMPARE(portStatus(f), "Порт " + link + " открыт");
        QCOMPARE(f.form->grid().lineCount(), 2);
        QCOMPARE(gridLine(f, 2), "Связь с портом " + link + " восстановлена");
        second.write(Bytes("41 C0"));
        QTRY_COMPARE(f.context.ReceivedLog.bytes().right(2), Bytes("41 C0"));
    }

    // The kernel gives a freed pseudo-terminal number to the next program that asks.
    void anotherProgramsTerminalUnderTheLostNumberGetsNothing()
    {
        auto first = std::make_unique<Pty>();
        const QString path = first->slavePath();
        QVERIFY(SystemSerialDevices().identityOf(path).isEmpty());
        MainFormFixture f(path);
        f.form->show();
        QCOMPARE(first->readAtLeast(2), Bytes("D0 D0"));
        QSignalSpy lost(&f.form->connection(), &SerialConnection::connectionLost);
        first->close();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY2(lost.first().first().toString().contains(QStringLiteral("меню «Порт»")),
            qPrintable(lost.first().first().toString()));
        QTest::qWait(50); // the program lets go of the slave

        std::vector<std::unique_ptr<Pty>> others;
        while (others.size() < 16 && (others.empty() || others.back()->slavePath() != path)) {
            others.push_back(std::make_unique<Pty>());
        }
        if (others.back()->slavePath() != path) {
            QSKIP("another process took the freed terminal number");
        }
        f.clock.advance(10000);
        QVERIFY(!f.form->connection().isOpen());
        QCOMPARE(others.back()->readAtLeast(1, 200), QByteArray());
        QCOMPARE(f.form->CurrentPort(), path); // the choice stays for the operator
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
