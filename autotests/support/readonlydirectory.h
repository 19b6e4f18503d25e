#pragma once

#include "plainuserrights.h"

#include <QMap>
#include <QString>

// Makes a directory that this process cannot write for as long as the object lives:
// mode 0555, and a test run as root is held to that mode meanwhile. The destructor
// gives the write permission back.
class ReadOnlyDirectory
{
public:
    explicit ReadOnlyDirectory(const QString &path);
    ~ReadOnlyDirectory();
    ReadOnlyDirectory(const ReadOnlyDirectory &) = delete;
    ReadOnlyDirectory &operator=(const ReadOnlyDirectory &) = delete;

    // Whether a file can in fact no longer be made there.
    bool holds() const;

private:
    QString m_path;
    PlainUserRights m_rights;
};

// The SHA-256 of every file in the directory by name, and for a link (also one that
// leads nowhere) where it leads, to show that none was touched.
QMap<QString, QByteArray> FileChecksums(const QString &directory);
