#include "console/version.h"

QString ProgramVersion()
{
    return QStringLiteral(TELV2_VERSION);
}
