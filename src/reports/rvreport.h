#pragma once

#include "reports/reportlayout.h"
#include "reports/reportprepare.h"

class Clock;

// The printed list of the locomotive radio stations register: A4 portrait, one
// line per locomotive with its two attenuation corrections. Its rows carry the
// fields Lokomotiv, OslablenieM and OslablenieG.
namespace TQRRV {

ReportLayout layout();
// Stamps every page with the clock's time as it is prepared.
ReportHooks hooks(Clock &clock);

} // namespace TQRRV
