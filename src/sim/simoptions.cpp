#include "sim/simoptions.h"

#include <QCommandLineParser>

ParsedSimOptions ParseSimOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Имитатор станции ТЕЛВ-2 на псевдотерминале. Первая строка вывода - путь к порту.\n"
        "Команды имитатора читаются со стандартного ввода (help - список)."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Эта справка."));
    const QCommandLineOption speed(QStringLiteral("speed"),
        QStringLiteral("Ускорение пауз станции (1 - как на деле, 10 - для показа)."),
        QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption optionsDir(QStringLiteral("options-dir"),
        QStringLiteral("Записать в DIR файл Options.dat с путём к порту."), QStringLiteral("DIR"));
    const QCommandLineOption alarm(
        QStringLiteral("alarm"), QStringLiteral("Авария усилителя после каждого вызова."));
    const QCommandLineOption autoTest(QStringLiteral("auto-test"),
        QStringLiteral("Каждые SECONDS секунд РВ сообщает о тесте 2 или 3."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption log(
        QStringLiteral("log"), QStringLiteral("Выводить принятые и посланные байты в stderr."));
    parser.addOptions({ help, speed, optionsDir, alarm, autoTest, log });

    ParsedSimOptions parsed;
    if (!parser.parse(arguments)) {
        parsed.error = parser.errorText();
        return parsed;
    }
    if (parser.isSet(help)) {
        parsed.helpText = parser.helpText();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.error = QStringLiteral("лишние параметры: %1")
                           .arg(parser.positionalArguments().join(QLatin1Char(' ')));
        return parsed;
    }
    bool ok = false;
    parsed.options.speed = parser.value(speed).toDouble(&ok);
    if (!ok || !(parsed.options.speed >= 0.01 && parsed.options.speed <= 1000.0)) {
        parsed.error = QStringLiteral("--speed: число от 0.01 до 1000");
        return parsed;
    }
    if (parser.isSet(autoTest)) {
        parsed.options.autoTestSeconds = parser.value(autoTest).toInt(&ok);
        if (!ok || parsed.options.autoTestSeconds < 1 || parsed.options.autoTestSeconds > 86400) {
            parsed.error = QStringLiteral("--auto-test: целое число секунд от 1 до 86400");
            return parsed;
        }
    }
    parsed.options.optionsDir = parser.value(optionsDir);
    parsed.options.alarm = parser.isSet(alarm);
    parsed.options.logTraffic = parser.isSet(log);
    return parsed;
}
