#pragma once

#include <QMap>
#include <QString>

// Makes a directory that this process cannot write for as long as the object lives:
// mode 0555, and a test run as root gives up its right to pass over file modes
// (CAP_DAC_OVERRIDE in its effective set) meanwhile. The destructor gives both back.
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
    bool m_droppedOverride = false;
};

// The SHA-256 of every file in the directory by name, to show that none was touched.
QMap<QString, QByteArray> FileChecksums(const QString &directory);
