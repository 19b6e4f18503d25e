#include "link/optionsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

QString OptionsFile::path()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Options.dat"));
}

namespace {

// Why a file that is there cannot be read, in the operator's words where the system
// gives a known cause.
QString unreadableReason(const QFileInfo &info, const QFile &file)
{
    if (info.isSymLink() && !info.exists()) {
        return QStringLiteral("это ссылка на несуществующий файл %1")
            .arg(QDir::toNativeSeparators(info.symLinkTarget()));
    }
    if (info.isDir()) {
        return QStringLiteral("это папка, а не файл");
    }
#ifdef Q_OS_UNIX
    // As the kernel decides for this process's effective rights.
    if (::faccessat(AT_FDCWD, QFile::encodeName(info.filePath()).constData(), R_OK, AT_EACCESS) != 0
        && errno == EACCES) {
        return QStringLiteral("нет права на чтение файла");
    }
#endif
    return file.errorString();
}

} // namespace

OptionsFile::Contents OptionsFile::read()
{
    using State = Contents::State;
    const QFileInfo info(path());
    // A link to nothing is there too: it must not be taken for a first start.
    if (!info.exists() && !info.isSymLink()) {
        return {};
    }
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        return { State::Unreadable, {}, unreadableReason(info, file) };
    }
    QByteArray line = file.readLine(4096);
    if (file.error() != QFile::NoError) {
        return { State::Unreadable, {}, unreadableReason(info, file) };
    }
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    return { State::Read, QString::fromLocal8Bit(line), {} };
}

bool OptionsFile::write(const QString &portName, QString *error)
{
    QSaveFile file(path());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(portName.toLocal8Bit() + "\r\n");
        if (file.commit()) {
            return true;
        }
    }
    if (error) {
        *error = file.errorString();
    }
    return false;
}
