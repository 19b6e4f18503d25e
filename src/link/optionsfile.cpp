#include "link/optionsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString OptionsFile::path()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Options.dat"));
}

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
        return { State::Unreadable, {}, file.errorString() };
    }
    QByteArray line = file.readLine(4096);
    if (file.error() != QFile::NoError) {
        return { State::Unreadable, {}, file.errorString() };
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
