#pragma once

#include <QString>

// Options.dat in the working directory: one line, the port last opened, ended by CR LF.
namespace OptionsFile {

QString path();

struct Contents
{
    enum class State {
        Missing,
        Read,
        Unreadable, // it is there but cannot be read: a directory, no permission, a broken link
    };
    State state = State::Missing;
    QString portName; // when read
    QString error; // when unreadable: the reason
};

Contents read();

// Rewrites the file whole. False with the reason in *error when it cannot be written.
bool write(const QString &portName, QString *error = nullptr);

} // namespace OptionsFile
