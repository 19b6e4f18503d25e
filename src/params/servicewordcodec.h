#pragma once

#include <QString>

#include <array>

// The service word as the service word dialog shows it. Positions 1 to 3 are bit
// sets, read by the hex value of their digit; positions 4 to 8 are numbers, each
// chosen from a list whose entry i stands for the digit i + 1.
struct ServiceWordSettings
{
    static constexpr int FirstListPosition = 4;
    static constexpr int Lists = 5; // positions 4..8

    // Selected entry of the list of positions 4..8; -1 when none is selected.
    std::array<int, Lists> entries { -1, -1, -1, -1, -1 };
    // Values of positions 1..3 (their check boxes are bits of these).
    std::array<int, 3> bits { 0, 0, 0 };
};

// Entries of the list of position 4..8. The list of position 4 has an empty ninth
// entry after "1".."8"; the others hold only their digits.
int ServiceWordListSize(int position);
int ServiceWordListDigits(int position);
// The caption of the list of position 4..8, which also names the position's number.
QString ServiceWordListCaption(int position);

// The typing rule of the service word edit, position by position from the left:
// positions 1 to 3 are bit sets and keep "A".."F" ("a".."f" become upper case),
// positions 4 to 8 are numbers and keep only "0".."9"; any other character
// becomes "0".
QString ServiceWordTyped(const QString &text);

// The service word as it is read from the edit: fitted to eight positions with "0"
// put in front, then the typing rule, so no letter reaches a number position.
QString ServiceWordFromEdit(const QString &text);

// The edit's text changed from before to after (both under the typing rule). When
// the changed characters put a digit outside its range into a number position
// (counted from the left), the message that refuses the change; empty otherwise.
// Digits the change did not touch (a station's report may hold any) are let be.
QString ServiceWordRangeRefusal(const QString &before, const QString &after);

// Reads an eight-character service word. A digit 0, or one beyond the list's last
// entry, selects nothing; 9 in position 4 selects the empty entry.
ServiceWordSettings DecodeServiceWord(const QString &word);

// The word with the dialog's settings written in. A list without a selection, or
// with the empty entry, keeps the position's old digit. Bit 3 of positions 1 and 2
// is written as 0; bits 2 and 3 of position 3 are kept, and a position 3 above 9 is
// written as its hex digit "A" or "B", so no bit is lost.
QString EncodeServiceWord(const QString &word, const ServiceWordSettings &settings);
