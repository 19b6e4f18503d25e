#include "app/commandline.h"

#include "console/version.h"

#include <QTextStream>

std::optional<int> AnswerCommandLine(const QStringList &arguments, QTextStream &out)
{
    const QStringList options = arguments.mid(1);
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
        out << QStringLiteral(
            "Использование: telv2 [--help | --version]\n"
            "Программа оператора стенда ТЕЛВ-2. Порт стенда назван в файле Options.dat\n"
            "рабочей папки; папку таблиц результатов показывает окно «Сведения о программе».\n"
            "\n"
            "  --help     показать эту справку и выйти\n"
            "  --version  показать версию программы и выйти\n");
        return 0;
    }
    if (options.contains(QStringLiteral("--version"))) {
        out << QStringLiteral("telv2 ") << ProgramVersion() << u'\n';
        return 0;
    }
    return std::nullopt;
}
