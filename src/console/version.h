#pragma once

#include <QString>

// The program's version, as the build names it ("2.2").
QString ProgramVersion();
