#pragma once

#include <QString>

// The reserve byte as the reserve data dialog shows it: bits 0..2 the tests 21, 22
// and 32, bits 4..5 the tone (0 700 Hz, 1 1000 Hz, 2 1400 Hz, 3 the empty entry),
// bit 6 DVX. Bits 3 and 7 have no control and are kept.
struct ReserveSettings
{
    bool test21 = false;
    bool test22 = false;
    bool test32 = false;
    bool dvx = false;
    int tone = 0; // entry of the tone list, 0..3
};

// Reads a two-digit reserve text, high digit first. The tone value 3 shows as the
// first entry, since the empty entry names no tone.
ReserveSettings DecodeReserve(const QString &reserv);

// The reserve text with the dialog's settings written in: two upper-case hex digits.
QString EncodeReserve(const QString &reserv, const ReserveSettings &settings);
