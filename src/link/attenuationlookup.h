#pragma once

#include <QString>
#include <QtGlobal>

// The locomotive register as the attenuation correction request sees it.
class AttenuationLookup
{
public:
    struct Corrections
    {
        // As stored: a register written by another program may hold any integer.
        qint64 mv = 0; // МВ correction
        qint64 gmv = 0; // ГМВ correction
    };

    enum class Outcome {
        Found,
        NotRegistered,
        Unreadable, // not open, locked beyond the wait, or damaged
    };

    struct Result
    {
        Outcome outcome = Outcome::NotRegistered;
        Corrections corrections; // meaningful only when found
    };

    virtual ~AttenuationLookup() = default;

    // The saved corrections of the locomotive. A register that cannot be read is told
    // apart from a locomotive that is not in it: the operator must not take a read
    // failure for a missing registration.
    virtual Result find(const QString &locoNumber) = 0;
};
