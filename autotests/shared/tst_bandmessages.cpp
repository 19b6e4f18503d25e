#include "shared/measurements.h"

#include <QTest>

class TestBandMessages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void statusCodeSetsItsFlag_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mesD");
        QTest::addColumn<QString>("mesG");
        QTest::addColumn<QString>("mesM");
        QTest::newRow("BD") << 0xBD << "10000"
                            << "00000"
                            << "00000";
        QTest::newRow("BA") << 0xBA << "01000"
                            << "00000"
                            << "00000";
        QTest::newRow("B2") << 0xB2 << "00100"
                            << "00000"
                            << "00000";
        QTest::newRow("B1") << 0xB1 << "00010"
                            << "00000"
                            << "00000";
        QTest::newRow("B0") << 0xB0 << "00001"
                            << "00000"
                            << "00000";
        QTest::newRow("BF") << 0xBF << "00000"
                            << "10000"
                            << "00000";
        QTest::newRow("BC") << 0xBC << "00000"
                            << "01000"
                            << "00000";
        QTest::newRow("B8") << 0xB8 << "00000"
                            << "00100"
                            << "00000";
        QTest::newRow("B7") << 0xB7 << "00000"
                            << "00010"
                            << "00000";
        QTest::newRow("B4") << 0xB4 << "00000"
                            << "00001"
                            << "00000";
        QTest::newRow("BE") << 0xBE << "00000"
                            << "00000"
                            << "10000";
        QTest::newRow("BB") << 0xBB << "00000"
                            << "00000"
                            << "01000";
        QTest::newRow("B6") << 0xB6 << "00000"
                            << "00000"
                            << "00100";
        QTest::newRow("B5") << 0xB5 << "00000"
                            << "00000"
                            << "00010";
        QTest::newRow("B3") << 0xB3 << "00000"
                            << "00000"
                            << "00001";
    }

    void statusCodeSetsItsFlag()
    {
        QFETCH(int, code);
        QFETCH(QString, mesD);
        QFETCH(QString, mesG);
        QFETCH(QString, mesM);
        BandMessages flags;
        QVERIFY(flags.markReceived(code));
        QVERIFY(flags.markReceived(code)); // a flag once set stays set
        QCOMPARE(flags.MesD, mesD);
        QCOMPARE(flags.MesG, mesG);
        QCOMPARE(flags.MesM, mesM);
    }

    void otherCodesChangeNothing()
    {
        BandMessages flags;
        for (int code : { 0x90, 0xAF, 0xB9, 0xC0, 0xDF }) {
            QVERIFY(!flags.markReceived(code));
        }
        QCOMPARE(flags.MesD + flags.MesG + flags.MesM, QStringLiteral("000000000000000"));
    }

    void flagsAccumulateUntilReset()
    {
        BandMessages flags;
        flags.markReceived(0xB0);
        flags.markReceived(0xBD);
        flags.markReceived(0xB3);
        QCOMPARE(flags.MesD, QStringLiteral("10001"));
        QCOMPARE(flags.MesM, QStringLiteral("00001"));
        flags.reset();
        QCOMPARE(flags.MesD + flags.MesG + flags.MesM, QStringLiteral("000000000000000"));
    }
};

QTEST_GUILESS_MAIN(TestBandMessages)
#include "tst_bandmessages.moc"
