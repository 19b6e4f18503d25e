#include "shared/resulttext.h"

#include "shared/codecs.h"
#include "shared/stationparameters.h"

#include <array>

namespace {

constexpr int CodeLength = 7;

ResultLine fault(const QString &text)
{
    return { text, FaultColour };
}

ResultLine normal(const QString &text)
{
    return { text, NormalColour };
}

ResultLine verdictLine(bool faulty, const QString &name)
{
    return faulty ? fault(QStringLiteral("Брак ") + name) : normal(QStringLiteral("Норма ") + name);
}

// Empty code, no answer, or a code whose form the decoder does not know.
bool decodedWithoutDigits(QStringView code, bool (*isDigit)(QChar), ResultLines *lines)
{
    if (code.isEmpty()) {
        return true;
    }
    if (code == u"?") {
        lines->append(fault(QStringLiteral("Нет ответа")));
        return true;
    }
    bool known = code.size() == CodeLength;
    for (QChar c : code) {
        known = known && isDigit(c);
    }
    if (!known) {
        lines->append(fault(QStringLiteral("Нераспознанный код результата: ") + code.toString()));
        return true;
    }
    return false;
}

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool anyCharacter(QChar)
{
    return true;
}

} // namespace

ResultLines ShowSelfTestCode(QStringView code)
{
    ResultLines lines;
    if (decodedWithoutDigits(code, isDecimalDigit, &lines)) {
        return lines;
    }
    std::array<int, CodeLength> d {};
    for (int i = 0; i < CodeLength; ++i) {
        d[i] = code[i].unicode() - u'0';
    }

    const bool memoryFault = d[0] & 8;
    if (memoryFault) {
        lines.append(fault(d[0] == 8 ? QStringLiteral(" Брак ПЗУ") : QStringLiteral(" Брак ОЗУ")));
    } else {
        lines.append(normal(QStringLiteral(" Норма ПЗУ")));
        lines.append(normal(QStringLiteral(" Норма ОЗУ")));
    }

    const std::array<QStringList, 3> units {
        QStringList { QStringLiteral("СЧ МВ"), QStringLiteral("УМ МВ"), QStringLiteral("УМ ГМВ") },
        QStringList {
            QStringLiteral("ДЗУ данных"), QStringLiteral("ВЗУ"), QStringLiteral("ДЗУ фонем") },
        QStringList {
            QStringLiteral("приема кодограмм ГМВ"), QStringLiteral("приема кодограмм МВ") },
    };
    for (int row = 0; row < 3; ++row) {
        int k = d[row] & 7;
        for (const QString &name : units[row]) {
            const bool faulty = k & 1;
            // A memory fault leaves the units of row 1 undetermined.
            const QString prefix = row == 0 && memoryFault ? QStringLiteral(" ??? ")
                : faulty                                   ? QStringLiteral(" Брак ")
                                                           : QStringLiteral(" Норма ");
            lines.append({ prefix + name, faulty ? FaultColour : NormalColour });
            k >>= 1;
        }
    }

    struct Band
    {
        int n;
        QString name;
        bool showsControlSignal;
    };
    const std::array<Band, 2> bands {
        Band { 10 * d[3] + d[4], QStringLiteral(" ГМВ"), false },
        Band { 10 * d[5] + d[6], QStringLiteral(" МВ"), true },
    };
    for (const Band &band : bands) {
        if (band.showsControlSignal) {
            lines.append(band.n < 20 ? normal(QStringLiteral(" Норма приема КС "))
                                     : fault(QStringLiteral(" Брак приема КС ")));
        }
        const int tones = band.n % 20;
        lines.append(tones == 0
                ? normal(QStringLiteral(" Норма приема тонов ") + band.name)
                : fault(QStringLiteral(" Брак приема тона ") + QString::number(tones) + band.name));
    }
    return lines;
}

ResultLines ShowRadioTestCode(int test, QStringView code, QStringView serviceWord)
{
    ResultLines lines;
    if (decodedWithoutDigits(code, anyCharacter, &lines)) {
        return lines;
    }
    std::array<int, CodeLength> r {};
    for (int i = 0; i < CodeLength; ++i) {
        r[i] = HexDigitValue(code[i]);
    }

    const std::array<QString, 3> bands { QStringLiteral("ДМВ"), QStringLiteral("МВ"),
        QStringLiteral("ГМВ") };
    const std::array<int, 3> blockBits { 0x01, 0x02, 0x04 };
    const int blocked = ServiceWordBits(serviceWord, 2);
    const bool applyBlocking = !serviceWord.isEmpty();

    const int count = test == 2 ? 6 : 3;
    for (int i = 0; i < count; ++i) {
        const int band = i % 3;
        const bool deviation = i >= 3;
        if (deviation && r[band] > 0) {
            // The band itself failed, so its deviation could not be measured.
            lines.append(fault(QStringLiteral("Девиация не измерялась ") + bands[band]));
            continue;
        }
        const QString name = deviation ? QStringLiteral("девиации ") + bands[band] : bands[band];
        ResultLine line = verdictLine(r[i] > 0, name);
        if (applyBlocking && (blocked & blockBits[band])) {
            line = normal(QStringLiteral("Заблокирован ") + bands[band]);
        }
        lines.append(line);
    }
    if (test == 3) {
        lines.append(normal(QStringLiteral("Код теста 1 р/с: ") + NibbleToHexChar(r[6])));
    }
    return lines;
}

QString VerdictText(QChar c)
{
    if (c == u'0') {
        return QStringLiteral("0");
    }
    return (c.unicode() % 2 ? QStringLiteral("Брак:") : QStringLiteral("Норма:")) + c;
}
