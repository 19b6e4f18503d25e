#include "readonlydirectory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

ReadOnlyDirectory::ReadOnlyDirectory(const QString &path)
    : m_path(path)
{
    QFile::setPermissions(path,
        QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

ReadOnlyDirectory::~ReadOnlyDirectory()
{
    QFile::setPermissions(m_path,
        QFile::permissions(m_path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

bool ReadOnlyDirectory::holds() const
{
    QFile probe(QDir(m_path).filePath(QStringLiteral(".probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        return false;
    }
    return true;
}

QMap<QString, QByteArray> FileChecksums(const QString &directory)
{
    QMap<QString, QByteArray> sums;
    const QDir dir(directory);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QFileInfo info(dir.filePath(name));
        if (info.isSymLink()) {
            sums.insert(name, "-> " + QFile::encodeName(info.symLinkTarget()));
            continue;
        }
        QFile file(info.filePath());
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly)) {
            hash.addData(&file);
        }
        sums.insert(name, hash.result().toHex());
    }
    return sums;
}
