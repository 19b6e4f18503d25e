#pragma once

#include <QString>

#include <optional>

// The locomotive register as the attenuation correction request sees it.
class AttenuationLookup
{
public:
    struct Corrections
    {
        int mv = 0; // МВ correction
        int gmv = 0; // ГМВ correction
    };

    virtual ~AttenuationLookup() = default;

    // The saved corrections of the locomotive, or nothing when it is not registered
    // or the register cannot be read.
    virtual std::optional<Corrections> find(const QString &locoNumber) = 0;
};
