#pragma once

#include <QString>

// The numbers the current radio test concerns, set by the test dialogs and by the
// station's number frames.
struct CurrentNumbers
{
    QString TrainNumber = QStringLiteral("1234");
    QString LocoNumber = QStringLiteral("1234567");
    QString InfoText = QStringLiteral("00000000");
};
