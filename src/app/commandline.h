#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

// The program takes no options but --version and --help, which answer on the terminal
// before any window (or display) is needed. Gives the exit code when the arguments
// asked for one of them; anything else is left to the window toolkit.
std::optional<int> AnswerCommandLine(const QStringList &arguments, QTextStream &out);
