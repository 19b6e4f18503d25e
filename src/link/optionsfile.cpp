#include "link/optionsfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString OptionsFile::path()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Options.dat"));
}

std::optional<QString> OptionsFile::read()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    return QString::fromLocal8Bit(line);
}

bool OptionsFile::write(const QString &portName)
{
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(portName.toLocal8Bit() + "\r\n");
    return file.commit();
}
