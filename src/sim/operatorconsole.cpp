#include "sim/operatorconsole.h"

#include "link/commands.h"
#include "sim/station.h"

#include <QStringList>

namespace {

const QString BusyReply = QStringLiteral("станция занята, сначала сброс (D0) или дождитесь конца");

bool ToNumber(const QString &word, int &value)
{
    bool ok = false;
    value = word.toInt(&ok);
    return ok;
}

} // namespace

OperatorConsole::OperatorConsole(SimStation &station, QObject *parent)
    : QObject(parent)
    , m_station(station)
{ }

QString OperatorConsole::helpText()
{
    return QStringLiteral(
        "Команды:\n"
        "  selftest     станция сообщает о самотесте по своей инициативе\n"
        "  test2        РВ сообщает о тесте 2 по своей инициативе\n"
        "  test3        РВ сообщает о тесте 3 по своей инициативе\n"
        "  fault N [V]  неисправность в следующем тесте: позиция N (1..7) кода результата\n"
        "               получает значение V (1..15, по умолчанию 1); fault 8: следующий\n"
        "               радиотест без подтверждения (0xAB); fault 0: снять все\n"
        "  noblocks     следующий радиотест без заводских номеров блоков (0xF8)\n"
        "  noanswer     перестать отвечать на команды ПК\n"
        "  answer       снова отвечать\n"
        "  busy         сообщить \"ТЕЛВ занят\" (0xC9)\n"
        "  free         сообщить \"ТЕЛВ свободен\" (0xC0)\n"
        "  noise        послать случайные помехи в линию\n"
        "  quit         завершить имитатор\n"
        "  help         эта справка");
}

void OperatorConsole::execute(const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return;
    }
    const QString text = run(words);
    if (!text.isEmpty()) {
        Q_EMIT reply(text);
    }
}

QString OperatorConsole::run(const QStringList &words)
{
    const QString command = words.first().toLower();
    const qsizetype arguments = words.size() - 1;
    const auto unexpected
        = [&] { return QStringLiteral("у команды %1 нет параметров").arg(command); };

    if (command == QLatin1String("fault")) {
        int position = 0;
        int value = 1;
        if (arguments < 1 || arguments > 2 || !ToNumber(words[1], position)
            || (arguments == 2 && !ToNumber(words[2], value))
            || !m_station.injectFault(position, value)) {
            return QStringLiteral("fault N [V]: N от 0 до 8, V от 1 до 15");
        }
        return position == 0 ? QStringLiteral("неисправности сняты")
                             : QStringLiteral("неисправность будет в следующем тесте");
    }
    if (arguments > 0) {
        return unexpected();
    }
    if (command == QLatin1String("selftest")) {
        return m_station.reportSelfTest() ? QStringLiteral("самотест начат") : BusyReply;
    }
    if (command == QLatin1String("test2") || command == QLatin1String("test3")) {
        const int test
            = command == QLatin1String("test2") ? TestNumber::RadioTest2 : TestNumber::RadioTest3;
        return m_station.reportRadioTest(test) ? QStringLiteral("тест %1 от РВ начат").arg(test)
                                               : BusyReply;
    }
    if (command == QLatin1String("noblocks")) {
        m_station.omitFactoryNumbers();
        return QStringLiteral("следующий радиотест без заводских номеров");
    }
    if (command == QLatin1String("noanswer") || command == QLatin1String("answer")) {
        m_station.setAnswering(command == QLatin1String("answer"));
        return m_station.answering() ? QStringLiteral("станция отвечает")
                                     : QStringLiteral("станция не отвечает");
    }
    if (command == QLatin1String("busy")) {
        m_station.reportBusy();
        return QStringLiteral("послано 0xC9");
    }
    if (command == QLatin1String("free")) {
        m_station.reportFree();
        return QStringLiteral("послано 0xC0");
    }
    if (command == QLatin1String("noise")) {
        m_station.sendNoise();
        return QStringLiteral("помехи посланы");
    }
    if (command == QLatin1String("quit")) {
        Q_EMIT quitRequested();
        return {};
    }
    if (command == QLatin1String("help")) {
        return helpText();
    }
    return QStringLiteral("неизвестная команда %1 (help: список команд)").arg(command);
}
