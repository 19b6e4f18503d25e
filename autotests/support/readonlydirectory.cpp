#include "readonlydirectory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool setFileModeOverride(bool on)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[2] {};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    const quint32 bit = 1u << CAP_DAC_OVERRIDE;
    if (on) {
        data[0].effective |= data[0].permitted & bit;
    } else {
        data[0].effective &= ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

ReadOnlyDirectory::ReadOnlyDirectory(const QString &path)
    : m_path(path)
{
    QFile::setPermissions(path,
        QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    if (geteuid() == 0) {
        m_droppedOverride = setFileModeOverride(false);
    }
}

ReadOnlyDirectory::~ReadOnlyDirectory()
{
    if (m_droppedOverride) {
        setFileModeOverride(true);
    }
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
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly)) {
            hash.addData(&file);
        }
        sums.insert(name, hash.result().toHex());
    }
    return sums;
}
