// telv2-import: the import of the earlier program's tables from a script, with
// progress and summary on the terminal; exit status 0 only when every table came over.
#include "legacy/legacycodepages.h"
#include "legacy/legacymigration.h"
#include "records/databasealias.h"
#include "shared/clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

class TerminalView final : public LegacyImportView
{
public:
    explicit TerminalView(int codePage)
        : m_codePage(codePage)
    { }

    bool progress(const QString &fileName, qint64 done, qint64 total) override
    {
        const int percent = total > 0 ? int(done * 100 / total) : 100;
        if (fileName != m_file || percent != m_percent) {
            m_file = fileName;
            m_percent = percent;
            m_err << QStringLiteral("\rЧтение %1: %2%").arg(fileName).arg(percent) << Qt::flush;
        }
        return true;
    }
    void writing() override { m_err << QStringLiteral("\nЗапись в таблицы…\n") << Qt::flush; }
    int chooseCodePage(const QString &fileName) override
    {
        if (m_codePage == 0) {
            m_err << QStringLiteral("\nВ заголовке файла %1 не указана кодовая страница текстов; "
                                    "укажите её ключом --codepage 866 или --codepage 1251\n")
                         .arg(fileName)
                  << Qt::flush;
        }
        return m_codePage;
    }
    bool confirm(const QString &) override { return true; }
    void showSummary(const QString &text, bool) override
    {
        QTextStream(stdout) << text << Qt::endl;
    }

private:
    int m_codePage;
    QTextStream m_err { stderr };
    QString m_file;
    int m_percent = -1;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The same names as the program's, so that the same tables directory is found.
    QCoreApplication::setApplicationName(QStringLiteral("telv2"));
    QCoreApplication::setOrganizationName(QStringLiteral("telv2"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Переносит записи таблиц прежней программы (tests1.DB, Test23.DB, РВ.db, BlockNum.DB "
        "в формате Paradox) в таблицы ТЕЛВ-2."));
    parser.addHelpOption();
    const QCommandLineOption tablesOption(QStringLiteral("tables"),
        QStringLiteral("Каталог таблиц ТЕЛВ-2 (по умолчанию тот, что выбирает программа)."),
        QStringLiteral("каталог"));
    const QCommandLineOption codePageOption(QStringLiteral("codepage"),
        QStringLiteral("Кодовая страница текстов (866 или 1251) для таблиц, в заголовке которых "
                       "она не указана."),
        QStringLiteral("866|1251"));
    parser.addOption(tablesOption);
    parser.addOption(codePageOption);
    parser.addPositionalArgument(QStringLiteral("КАТАЛОГ|ФАЙЛ..."),
        QStringLiteral("Каталог с таблицами прежней программы или сами файлы таблиц."));
    parser.process(app);

    QTextStream err(stderr);
    const QStringList sources = parser.positionalArguments();
    const int codePage = parser.value(codePageOption).toInt();
    if (sources.isEmpty()
        || (parser.isSet(codePageOption) && !IsKnownCodePage(codePage))) {
        err << parser.helpText() << Qt::flush;
        return 2;
    }
    const DatabaseLocation tables { parser.isSet(tablesOption)
            ? QFileInfo(parser.value(tablesOption)).absoluteFilePath() + u'/'
            : EnsureDatabaseAlias().directory,
        {} };

    if (!tables.onServer() && !QDir().mkpath(tables.directory)) {
        err << QStringLiteral("Не удается создать каталог таблиц %1\n").arg(tables.directory);
        return 1;
    }
    TerminalView view(codePage);
    LegacyImportResult result;
    if (sources.size() == 1 && QFileInfo(sources.front()).isDir()) {
        result = ImportLegacyFolder(sources.front(), tables, SystemClock().now().date(), view);
    } else {
        QList<QByteArray> paths;
        for (const QString &source : sources) {
            paths.append(QFile::encodeName(source));
        }
        QStringList unmatched;
        const QList<LegacyTableFile> files = MatchLegacyTableFiles(paths, &unmatched);
        for (const QString &name : std::as_const(unmatched)) {
            err << QStringLiteral("%1: не таблица прежней программы\n").arg(name);
        }
        result = ImportLegacyFiles(files, tables, view);
        if (!unmatched.isEmpty()) {
            return 1;
        }
    }
    return result.succeeded() ? 0 : 1;
}
