#include "link/trafficlog.h"

#include <QTest>

class TestTrafficLog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keepsTheLastThousandBytes_data()
    {
        QTest::addColumn<int>("appended");
        QTest::addColumn<int>("kept");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("999") << 999 << 999;
        QTest::newRow("1000") << 1000 << 1000;
        QTest::newRow("1001") << 1001 << 1000;
        QTest::newRow("2500") << 2500 << 1000;
    }

    void keepsTheLastThousandBytes()
    {
        QFETCH(int, appended);
        QFETCH(int, kept);
        TrafficLog log;
        for (int i = 0; i < appended; ++i) {
            log.append(static_cast<std::uint8_t>(i % 251));
        }
        QCOMPARE(log.size(), kept);
        const QByteArray bytes = log.bytes();
        QCOMPARE(bytes.size(), kept);
        for (int i = 0; i < kept; ++i) {
            // oldest first: byte i of the log is the (appended - kept + i)-th appended
            QCOMPARE(static_cast<std::uint8_t>(bytes[i]),
                static_cast<std::uint8_t>((appended - kept + i) % 251));
        }
    }

    void clearEmptiesTheLog()
    {
        TrafficLog log;
        for (int i = 0; i < 1500; ++i) {
            log.append(0x41);
        }
        log.clear();
        QCOMPARE(log.size(), 0);
        log.append(0xE4);
        QCOMPARE(log.bytes(), QByteArray("\xE4"));
    }
};

QTEST_GUILESS_MAIN(TestTrafficLog)
#include "tst_trafficlog.moc"
