#pragma once

#include <QString>

#include <optional>

// Options.dat in the working directory: one line, the port last opened, ended by CR LF.
namespace OptionsFile {

QString path();

// The port name it holds, or nothing when the file does not exist or cannot be read.
std::optional<QString> read();

// Rewrites the file whole; false when it cannot be written.
bool write(const QString &portName);

} // namespace OptionsFile
