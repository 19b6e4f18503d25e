#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>

// One line of a decoded result: red when it reports a fault, black otherwise.
struct ResultLine
{
    QString text;
    QColor colour;

    bool operator==(const ResultLine &) const = default;
};

using ResultLines = QList<ResultLine>;

inline const QColor FaultColour { 255, 0, 0 };
inline const QColor NormalColour { 0, 0, 0 };

// The lines of a station self-test code: seven decimal digits, "?" when the
// station did not answer, empty for no result. A code of another form is shown as
// one red line naming it, never as a healthy station.
ResultLines ShowSelfTestCode(QStringView code);

// The lines of a code of radio test 2 or 3: seven hex digits (any other character
// counts as 0), "?" or empty as above, another length as one red line.
// The bits of serviceWord's position 2 (ServiceWordBits) mark the blocked bands;
// an empty serviceWord applies no blocking.
ResultLines ShowRadioTestCode(int test, QStringView code, QStringView serviceWord);

// The sensitivity verdict text of a verdict character: "0", "Брак:c" for an odd
// character code, "Норма:c" for an even one.
QString VerdictText(QChar c);
