#include "deadprocess.h"
#include "link/portaccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

class TestPortAccess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void adviceNamesAGroupOnlyWhenItHelps_data()
    {
        QTest::addColumn<unsigned>("mode");
        QTest::addColumn<QString>("advice");
        const QString group = QStringLiteral(
            "Нет прав на доступ к порту ttyUSB0. Пользователя нужно включить в группу dialout.");
        const QString owner = QStringLiteral(
            "Нет прав на доступ к порту ttyUSB0: открыть его может только владелец устройства "
            "(root).");
        QTest::newRow("crw-rw----") << unsigned(S_IFCHR | 0660) << group;
        QTest::newRow("crw-rw-rw-") << unsigned(S_IFCHR | 0666) << group;
        QTest::newRow("crw-------") << unsigned(S_IFCHR | 0600) << owner;
        QTest::newRow("crw-r-----: the group may only read") << unsigned(S_IFCHR | 0640) << owner;
        QTest::newRow("crw--w----: the group may only write") << unsigned(S_IFCHR | 0620) << owner;
    }
    void adviceNamesAGroupOnlyWhenItHelps()
    {
        QFETCH(unsigned, mode);
        QFETCH(QString, advice);
        QCOMPARE(NoAccessAdvice(QStringLiteral("ttyUSB0"), mode, QStringLiteral("root"),
                     QStringLiteral("dialout")),
            advice);
    }

    void lockFiles_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qint64>("pid");
        QTest::addColumn<bool>("gone");
        const qint64 dead = deadProcess();
        const qint64 alive = QCoreApplication::applicationPid();
        const QByteArray d = QByteArray::number(dead);
        const QByteArray a = QByteArray::number(alive);
        QTest::newRow("toolkit format, ended") << d + "\ntelv2\nhost\n" << dead << true;
        QTest::newRow("toolkit format, running") << a + "\ntelv2\nhost\n" << alive << false;
        QTest::newRow("ten columns, ended") << d.rightJustified(10, ' ') + "\n" << dead << true;
        QTest::newRow("number alone, ended") << d << dead << true;
        QTest::newRow("unreadable: never taken for stale")
            << QByteArray("\x01\x02\x03\x04", 4) << qint64(0) << false;
        QTest::newRow("empty") << QByteArray() << qint64(0) << false;
    }
    void lockFiles()
    {
        QFETCH(QByteArray, contents);
        QFETCH(qint64, pid);
        QFETCH(bool, gone);
        const QString device
            = QStringLiteral("/dev/telv2-test-%1").arg(QCoreApplication::applicationPid());
        const QString path = PortLockFilePath(device);
        QVERIFY(!path.isEmpty());
        QVERIFY(path.endsWith(
            QStringLiteral("/LCK..telv2-test-%1").arg(QCoreApplication::applicationPid())));
        QCOMPARE(FindPortLockFile(device).path, QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        const PortLockFile lock = FindPortLockFile(device);
        QFile::remove(path);
        QCOMPARE(lock.path, path);
        QCOMPARE(lock.pid, pid);
        QCOMPARE(lock.holderGone(), gone);
    }
};

QTEST_GUILESS_MAIN(TestPortAccess)
#include "tst_portaccess.moc"
