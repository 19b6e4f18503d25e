#include "legacy/legacyfiles.h"

#include "legacy/legacycodepages.h"
#include "legacy/paradoxtable.h"
#include "records/tableschema.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QList<const TableSchema *> &legacyTables()
{
    static const QList<const TableSchema *> tables { &Tests1Schema(), &Test23Schema(),
        &RvSchema(), &BlockNumSchema() };
    return tables;
}

QString baseOf(const QString &fileName)
{
    return fileName.left(fileName.lastIndexOf(u'.'));
}

// The ways the bytes of a name may have been meant: the local UTF-8, the two
// Russian code pages, and these two once more after a trip through Latin-1.
QStringList readingsOf(const QByteArray &bytes)
{
    QStringList readings;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    if (!utf8.hasError()) {
        readings.append(asUtf8);
        bool latin1 = true;
        for (const QChar c : asUtf8) {
            latin1 = latin1 && c.unicode() < 0x100;
        }
        if (latin1) {
            const QByteArray original = asUtf8.toLatin1();
            readings.append(DecodeLegacyText(original, 866));
            readings.append(DecodeLegacyText(original, 1251));
        }
    }
    readings.append(DecodeLegacyText(bytes, 866));
    readings.append(DecodeLegacyText(bytes, 1251));
    return readings;
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray fileNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(slash);
}

QList<QByteArray> namesIn(const QByteArray &folder)
{
    QList<QByteArray> names;
    DIR *dir = ::opendir(folder.constData());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            names.append(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool exists(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

// The extensions of the files that belong to a Paradox table: primary and
// secondary indexes, memos, validity checks, table views and families.
bool isCompanionExtension(const QString &extension)
{
    static const QRegularExpression companion(
        QStringLiteral("^(DB|PX|MB|VAL|TV|FAM|[XY][0-9A-F]{2}|[XY]G[0-9A-F])$"),
        QRegularExpression::CaseInsensitiveOption);
    return companion.match(extension).hasMatch();
}

// The table file and its companions in its folder.
QList<QByteArray> filesOfTable(const QByteArray &tablePath)
{
    const QByteArray folder = folderOf(tablePath);
    const QByteArray name = fileNameOf(tablePath);
    const QByteArray base = name.left(name.lastIndexOf('.'));
    QList<QByteArray> files;
    for (const QByteArray &other : namesIn(folder)) {
        const qsizetype dot = other.lastIndexOf('.');
        if (dot > 0 && other.left(dot).compare(base, Qt::CaseInsensitive) == 0
            && isCompanionExtension(QString::fromLatin1(other.mid(dot + 1)))) {
            files.append(joinPath(folder, other));
        }
    }
    return files;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A new subfolder for the day: paradox-YYYY-MM-DD, or with "-2" ... when taken.
QByteArray makeSubfolder(const QByteArray &tables, const QDate &day, QString *error)
{
    const QByteArray stem = "paradox-" + day.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QByteArray name = attempt == 1 ? stem : stem + '-' + QByteArray::number(attempt);
        const QByteArray path = joinPath(tables, name);
        if (::mkdir(path.constData(), 0777) == 0) {
            return path;
        }
        if (errno != EEXIST) {
            *error = QStringLiteral("Не удается создать каталог %1: %2")
                         .arg(QFile::decodeName(path), systemError());
            return {};
        }
    }
    *error = QStringLiteral("Не удается подобрать имя для каталога %1").arg(QString::fromLatin1(stem));
    return {};
}

} // namespace

const TableSchema *LegacyTableOfName(const QByteArray &fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot <= 0 || fileName.mid(dot + 1).compare("db", Qt::CaseInsensitive) != 0) {
        return nullptr;
    }
    const QStringList readings = readingsOf(fileName.left(dot));
    for (const TableSchema *schema : legacyTables()) {
        const QString base = baseOf(schema->fileName);
        for (const QString &reading : readings) {
            if (reading.compare(base, Qt::CaseInsensitive) == 0) {
                return schema;
            }
        }
    }
    return nullptr;
}

QList<LegacyTableFile> MatchLegacyTableFiles(const QList<QByteArray> &paths, QStringList *unmatched)
{
    QList<LegacyTableFile> files;
    for (const TableSchema *schema : legacyTables()) {
        for (const QByteArray &path : paths) {
            if (LegacyTableOfName(fileNameOf(path)) == schema) {
                files.append({ schema, path, QFile::decodeName(path) });
                break;
            }
        }
    }
    if (unmatched != nullptr) {
        for (const QByteArray &path : paths) {
            if (LegacyTableOfName(fileNameOf(path)) == nullptr) {
                unmatched->append(QFile::decodeName(path));
            }
        }
    }
    return files;
}

QList<LegacyTableFile> FindLegacyTableFiles(const QString &folder)
{
    const QByteArray where = QFile::encodeName(folder);
    QList<QByteArray> paths;
    for (const QByteArray &name : namesIn(where)) {
        paths.append(joinPath(where, name));
    }
    return MatchLegacyTableFiles(paths, nullptr);
}

bool IsParadoxTableFile(const QByteArray &path)
{
    FILE *stream = std::fopen(path.constData(), "rb");
    if (stream == nullptr) {
        return false;
    }
    char start[ParadoxTable::HeaderStart] {};
    const size_t got = std::fread(start, 1, sizeof start, stream);
    std::fclose(stream);
    return ParadoxTable::isTableHeader(QByteArrayView(start, qsizetype(got)));
}

QList<LegacyTableFile> FindParadoxTables(const QString &tablesDirectory)
{
    QList<LegacyTableFile> tables = FindLegacyTableFiles(tablesDirectory);
    tables.removeIf([](const LegacyTableFile &file) { return !IsParadoxTableFile(file.path); });
    return tables;
}

bool MoveLegacyTables(const QString &tablesDirectory, const QDate &day,
    QList<LegacyTableFile> *tables, QString *subfolder, QString *error)
{
    const QByteArray target = makeSubfolder(QFile::encodeName(tablesDirectory), day, error);
    if (target.isEmpty()) {
        return false;
    }
    QList<QPair<QByteArray, QByteArray>> moved;
    const auto moveBack = [&moved] {
        for (const auto &[from, to] : std::as_const(moved)) {
            if (!exists(from)) {
                ::rename(to.constData(), from.constData());
            }
        }
    };
    for (LegacyTableFile &table : *tables) {
        for (const QByteArray &from : filesOfTable(table.path)) {
            const QByteArray to = joinPath(target, fileNameOf(from));
            if (exists(to) || ::rename(from.constData(), to.constData()) != 0) {
                *error = QStringLiteral("Не удается переместить %1 в %2: %3")
                             .arg(QFile::decodeName(from), QFile::decodeName(target),
                                 exists(to) ? QStringLiteral("файл с таким именем уже есть")
                                            : systemError());
                moveBack();
                ::rmdir(target.constData());
                return false;
            }
            moved.append({ from, to });
        }
        table.path = joinPath(target, fileNameOf(table.path));
        table.displayName = QFile::decodeName(table.path);
    }
    *subfolder = QFile::decodeName(target);
    return true;
}
