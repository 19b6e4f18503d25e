#include "legacy/legacymigration.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool sameFolder(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

LegacyImportResult failedResult()
{
    LegacyImportResult result;
    result.tables.append(LegacyTableResult {});
    result.tables.front().outcome = LegacyTableResult::Outcome::Failed;
    return result;
}

LegacyImportResult moveAndImport(const DatabaseLocation &location, const QDate &day,
    QList<LegacyTableFile> tables, LegacyImportView &view)
{
    QString subfolder;
    QString error;
    if (!MoveLegacyTables(location.directory, day, &tables, &subfolder, &error)) {
        view.showSummary(QStringLiteral("Таблицы прежней программы не перенесены: %1").arg(error),
            false);
        return failedResult();
    }
    const LegacyImportResult result = ImportLegacyTables(tables, location, view);
    view.showSummary(LegacyImportSummary(result)
            + QStringLiteral("\n\nФайлы прежней программы перемещены без изменений в каталог %1.")
                  .arg(QDir::toNativeSeparators(subfolder)),
        result.succeeded());
    return result;
}

} // namespace

QString LegacyConversionQuestion(const QString &tablesDirectory)
{
    return QStringLiteral("В каталоге %1 найдены таблицы прежней программы (формат Paradox). "
                          "Перенести записи в новые таблицы?")
        .arg(QDir::toNativeSeparators(tablesDirectory));
}

LegacyImportResult ImportLegacyFiles(
    const QList<LegacyTableFile> &files, const DatabaseLocation &tables, LegacyImportView &view)
{
    if (files.isEmpty()) {
        view.showSummary(QStringLiteral("Таблиц прежней программы не найдено."), false);
        return failedResult();
    }
    const LegacyImportResult result = ImportLegacyTables(files, tables, view);
    view.showSummary(LegacyImportSummary(result), result.succeeded());
    return result;
}

LegacyImportResult ImportLegacyFolder(const QString &folder, const DatabaseLocation &tables,
    const QDate &day, LegacyImportView &view)
{
    if (sameFolder(folder, tables.directory)) {
        const QList<LegacyTableFile> found = FindParadoxTables(tables.directory);
        if (!found.isEmpty()) {
            return moveAndImport(tables, day, found, view);
        }
    }
    return ImportLegacyFiles(FindLegacyTableFiles(folder), tables, view);
}

bool OfferLegacyConversion(const DatabaseLocation &tables, const QDate &day, LegacyImportView &view)
{
    const QList<LegacyTableFile> found = FindParadoxTables(tables.directory);
    if (found.isEmpty() || !view.confirm(LegacyConversionQuestion(tables.directory))) {
        return false;
    }
    moveAndImport(tables, day, found, view);
    return true;
}
