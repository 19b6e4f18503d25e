#include "shared/resulttext.h"

#include <QTest>

namespace {

// Colours of the lines as letters, r for red and b for black, so that a failure
// shows which line went wrong.
QString colourLetters(const ResultLines &lines)
{
    QString letters;
    for (const ResultLine &line : lines) {
        letters += line.colour == FaultColour ? u'r' : line.colour == NormalColour ? u'b' : u'?';
    }
    return letters;
}

QStringList texts(const ResultLines &lines)
{
    QStringList result;
    for (const ResultLine &line : lines) {
        result.append(line.text);
    }
    return result;
}

const QString NoAnswer = QStringLiteral("Нет ответа");

QStringList normalSelfTest()
{
    return {
        QStringLiteral(" Норма ПЗУ"),
        QStringLiteral(" Норма ОЗУ"),
        QStringLiteral(" Норма СЧ МВ"),
        QStringLiteral(" Норма УМ МВ"),
        QStringLiteral(" Норма УМ ГМВ"),
        QStringLiteral(" Норма ДЗУ данных"),
        QStringLiteral(" Норма ВЗУ"),
        QStringLiteral(" Норма ДЗУ фонем"),
        QStringLiteral(" Норма приема кодограмм ГМВ"),
        QStringLiteral(" Норма приема кодограмм МВ"),
        QStringLiteral(" Норма приема тонов  ГМВ"),
        QStringLiteral(" Норма приема КС "),
        QStringLiteral(" Норма приема тонов  МВ"),
    };
}

// The normal self-test lines with some replaced: index -> text.
QStringList normalSelfTestWith(const QList<QPair<int, QString>> &changes)
{
    QStringList lines = normalSelfTest();
    for (const auto &change : changes) {
        lines[change.first] = change.second;
    }
    return lines;
}

QString unrecognised(const QString &code)
{
    return QStringLiteral("Нераспознанный код результата: ") + code;
}

} // namespace

class TestResultText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selfTestCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("colours");

        QTest::newRow("empty") << QString() << QStringList() << QString();
        QTest::newRow("no answer") << "?" << QStringList { NoAnswer } << "r";
        QTest::newRow("all zeros") << "0000000" << normalSelfTest() << "bbbbbbbbbbbbb";
        QTest::newRow("RAM fault, row 1 undetermined, tones")
            << "9100223"
            << QStringList {
                   QStringLiteral(" Брак ОЗУ"),
                   QStringLiteral(" ??? СЧ МВ"),
                   QStringLiteral(" ??? УМ МВ"),
                   QStringLiteral(" ??? УМ ГМВ"),
                   QStringLiteral(" Брак ДЗУ данных"),
                   QStringLiteral(" Норма ВЗУ"),
                   QStringLiteral(" Норма ДЗУ фонем"),
                   QStringLiteral(" Норма приема кодограмм ГМВ"),
                   QStringLiteral(" Норма приема кодограмм МВ"),
                   QStringLiteral(" Брак приема тона 2 ГМВ"),
                   QStringLiteral(" Брак приема КС "),
                   QStringLiteral(" Брак приема тона 3 МВ"),
               }
            << "rrbbrbbbbrrr";
        QTest::newRow("ROM fault keeps row 1 black when its bits are clear")
            << "8000000"
            << (QStringList { QStringLiteral(" Брак ПЗУ"), QStringLiteral(" ??? СЧ МВ"),
                    QStringLiteral(" ??? УМ МВ"), QStringLiteral(" ??? УМ ГМВ") }
                   + normalSelfTest().mid(5))
            << "rbbbbbbbbbbb";
        QTest::newRow("every unit bit set; row 3 bit 2 not shown")
            << "7770000"
            << QStringList {
                   QStringLiteral(" Норма ПЗУ"),
                   QStringLiteral(" Норма ОЗУ"),
                   QStringLiteral(" Брак СЧ МВ"),
                   QStringLiteral(" Брак УМ МВ"),
                   QStringLiteral(" Брак УМ ГМВ"),
                   QStringLiteral(" Брак ДЗУ данных"),
                   QStringLiteral(" Брак ВЗУ"),
                   QStringLiteral(" Брак ДЗУ фонем"),
                   QStringLiteral(" Брак приема кодограмм ГМВ"),
                   QStringLiteral(" Брак приема кодограмм МВ"),
                   QStringLiteral(" Норма приема тонов  ГМВ"),
                   QStringLiteral(" Норма приема КС "),
                   QStringLiteral(" Норма приема тонов  МВ"),
               }
            << "bbrrrrrrrrbbb";
        QTest::newRow("single bits pick their own unit")
            << "2420000"
            << normalSelfTestWith(
                   { { 3, QStringLiteral(" Брак УМ МВ") }, { 7, QStringLiteral(" Брак ДЗУ фонем") },
                       { 9, QStringLiteral(" Брак приема кодограмм МВ") } })
            << "bbbrbbbrbrbbb";
        QTest::newRow("GMV 33: no control signal line, 13 tones")
            << "0003300"
            << normalSelfTestWith({ { 10, QStringLiteral(" Брак приема тона 13 ГМВ") } })
            << "bbbbbbbbbbrbb";
        QTest::newRow("GMV 20: control signal lost is not shown, no tone lost")
            << "0002000" << normalSelfTest() << "bbbbbbbbbbbbb";
        QTest::newRow("MV 20: control signal lost, tones received")
            << "0000020" << normalSelfTestWith({ { 11, QStringLiteral(" Брак приема КС ") } })
            << "bbbbbbbbbbbrb";
        QTest::newRow("MV 19 tones")
            << "0000019"
            << normalSelfTestWith({ { 12, QStringLiteral(" Брак приема тона 19 МВ") } })
            << "bbbbbbbbbbbbr";
        QTest::newRow("MV 99: both lines")
            << "0000099"
            << normalSelfTestWith({ { 11, QStringLiteral(" Брак приема КС ") },
                   { 12, QStringLiteral(" Брак приема тона 19 МВ") } })
            << "bbbbbbbbbbbrr";
        for (const char *code : { "000000", "00000000", "00A0000", "0 00000", "??", "٠٠٠٠٠٠٠" }) {
            QTest::newRow(
                qPrintable(QStringLiteral("unrecognised '%1'").arg(QString::fromUtf8(code))))
                << QString::fromUtf8(code) << QStringList { unrecognised(QString::fromUtf8(code)) }
                << "r";
        }
    }

    void selfTestCode()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, lines);
        QFETCH(QString, colours);
        const ResultLines result = ShowSelfTestCode(code);
        QCOMPARE(texts(result), lines);
        QCOMPARE(colourLetters(result), colours);
    }

    void radioTestCode_data()
    {
        QTest::addColumn<int>("test");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("serviceWord");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("colours");

        const QString dmv = QStringLiteral("Норма ДМВ");
        const QString mv = QStringLiteral("Норма МВ");
        const QString gmv = QStringLiteral("Норма ГМВ");
        const QString devDmv = QStringLiteral("Норма девиации ДМВ");
        const QString devMv = QStringLiteral("Норма девиации МВ");
        const QString devGmv = QStringLiteral("Норма девиации ГМВ");
        const QString blockedMv = QStringLiteral("Заблокирован МВ");
        const QString noDeviationMv = QStringLiteral("Девиация не измерялась МВ");

        QTest::newRow("empty") << 2 << QString() << QString() << QStringList() << QString();
        QTest::newRow("no answer, test 2") << 2 << "?"
                                           << "01111111" << QStringList { NoAnswer } << "r";
        QTest::newRow("no answer, test 3")
            << 3 << "?" << QString() << QStringList { NoAnswer } << "r";
        QTest::newRow("test 2 all normal")
            << 2 << "0000000" << QString() << QStringList { dmv, mv, gmv, devDmv, devMv, devGmv }
            << "bbbbbb";
        QTest::newRow("test 2 DMV fault: its deviation not measured")
            << 2 << "1000000" << QString()
            << QStringList { QStringLiteral("Брак ДМВ"), mv, gmv,
                   QStringLiteral("Девиация не измерялась ДМВ"), devMv, devGmv }
            << "rbbrbb";
        QTest::newRow("test 2 deviation faults, hex values, lower case")
            << 2 << "000aF10" << QString()
            << QStringList { dmv, mv, gmv, QStringLiteral("Брак девиации ДМВ"),
                   QStringLiteral("Брак девиации МВ"), QStringLiteral("Брак девиации ГМВ") }
            << "bbbrrr";
        QTest::newRow("test 2 non-hex characters count as no fault")
            << 2 << "Zz-Ж 0G" << QString() << QStringList { dmv, mv, gmv, devDmv, devMv, devGmv }
            << "bbbbbb";
        QTest::newRow("test 3 code line with A")
            << 3 << "000000A" << QString()
            << QStringList { dmv, mv, gmv, QStringLiteral("Код теста 1 р/с: A") } << "bbbb";
        QTest::newRow("test 3 ignores deviation values")
            << 3 << "0F0FFFf" << QString()
            << QStringList { dmv, QStringLiteral("Брак МВ"), gmv,
                   QStringLiteral("Код теста 1 р/с: F") }
            << "brbb";
        QTest::newRow("other test number: band lines only")
            << 1 << "1110000" << QString()
            << QStringList { QStringLiteral("Брак ДМВ"), QStringLiteral("Брак МВ"),
                   QStringLiteral("Брак ГМВ") }
            << "rrr";
        QTest::newRow("MV blocked: faulty MV line black, its deviation not measured")
            << 2 << "0100000"
            << "02111111" << QStringList { dmv, blockedMv, gmv, devDmv, noDeviationMv, devGmv }
            << "bbbbrb";
        QTest::newRow("MV blocked: normal line and faulty deviation both blocked")
            << 2 << "0000100"
            << "02111111" << QStringList { dmv, blockedMv, gmv, devDmv, blockedMv, devGmv }
            << "bbbbbb";
        QTest::newRow("all bands blocked, test 3")
            << 3 << "1230004"
            << "07"
            << QStringList { QStringLiteral("Заблокирован ДМВ"), blockedMv,
                   QStringLiteral("Заблокирован ГМВ"), QStringLiteral("Код теста 1 р/с: 4") }
            << "bbbb";
        QTest::newRow("letter in service word: blocking by its value")
            << 2 << "0100000"
            << "0A" // "A" is 10: bits 1 and 3, МВ
            << QStringList { dmv, blockedMv, gmv, devDmv, noDeviationMv, devGmv } << "bbbbrb";
        QTest::newRow("empty service word blocks nothing")
            << 3 << "0100000" << QString()
            << QStringList { dmv, QStringLiteral("Брак МВ"), gmv,
                   QStringLiteral("Код теста 1 р/с: 0") }
            << "brbb";
        QTest::newRow("one-character service word blocks nothing")
            << 3 << "0100000"
            << "7"
            << QStringList { dmv, QStringLiteral("Брак МВ"), gmv,
                   QStringLiteral("Код теста 1 р/с: 0") }
            << "brbb";
        for (const char *code : { "000000", "00000000", "1" }) {
            QTest::newRow(qPrintable(QStringLiteral("unrecognised '%1'").arg(code)))
                << 2 << QString::fromLatin1(code) << QString()
                << QStringList { unrecognised(QString::fromLatin1(code)) } << "r";
        }
    }

    void radioTestCode()
    {
        QFETCH(int, test);
        QFETCH(QString, code);
        QFETCH(QString, serviceWord);
        QFETCH(QStringList, lines);
        QFETCH(QString, colours);
        const ResultLines result = ShowRadioTestCode(test, code, serviceWord);
        QCOMPARE(texts(result), lines);
        QCOMPARE(colourLetters(result), colours);
    }

    void verdictText_data()
    {
        QTest::addColumn<QChar>("verdict");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << QChar(u'0') << "0";
        QTest::newRow("1 odd") << QChar(u'1') << "Брак:1";
        QTest::newRow("2 even") << QChar(u'2') << "Норма:2";
        QTest::newRow("3 odd") << QChar(u'3') << "Брак:3";
        QTest::newRow("4 even") << QChar(u'4') << "Норма:4";
        QTest::newRow("A by its code 0x41") << QChar(u'A') << "Брак:A";
        QTest::newRow("B by its code 0x42") << QChar(u'B') << "Норма:B";
    }

    void verdictText()
    {
        QFETCH(QChar, verdict);
        QFETCH(QString, text);
        QCOMPARE(VerdictText(verdict), text);
    }
};

QTEST_GUILESS_MAIN(TestResultText)
#include "tst_resulttext.moc"
