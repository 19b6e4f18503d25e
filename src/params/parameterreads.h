#pragma once

#include <QHash>
#include <QString>

#include <array>

struct StationParameters;

// The edits of the parameters window that carry the station's parameters, and the
// read operations that copy their texts into the parameter set. Texts are kept by
// the edit's object name, so the window and its logic name the same things.
using EditTexts = QHash<QString, QString>;

struct ParameterEdit
{
    const char *name;
    int group; // see ChangedGroups
    int maxLength; // also the width the text is padded to when read
    QString StationParameters::*field;
    // The typing rule of the edit, applied to what is typed and to what is read:
    // decimal digits, hex digits (the reserve byte's bit set) or the service word's
    // rule by position.
    QString (*digits)(const QString &text);
};

// The sixteen grouped edits, in the window's tab order.
const std::array<ParameterEdit, 16> &ParameterEdits();

// The edit outside the groups: the electromechanic's number, up to 12 characters.
inline constexpr const char ElectromechanicEdit[] = "MaskEdit1";
inline constexpr int ElectromechanicMaxLength = 12;
inline constexpr int ElectromechanicMinLength = 4;
// The read-only program version.
inline constexpr const char ProgramVersionEdit[] = "Edit1";

// The first width characters of text, padded with "0" in front to width.
QString FittedToWidth(const QString &text, int width);

// The texts the window shows for the set, by edit name (FormShow).
EditTexts TextsFromParameters(const StationParameters &params);

// Read operations: each copies its edits into the set, fitted to their widths.
void ReadElectromechanic(StationParameters &params, const EditTexts &texts);
void ReadServiceWord(StationParameters &params, const EditTexts &texts);
void ReadThresholds(StationParameters &params, const EditTexts &texts);
void ReadSensitivity(StationParameters &params, const EditTexts &texts);
void ReadChannels(StationParameters &params, const EditTexts &texts);
void ReadAllParameters(StationParameters &params, const EditTexts &texts);
