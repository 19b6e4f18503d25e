#include "params/parameterreads.h"

#include "link/codecs.h"
#include "params/changedgroups.h"
#include "params/stationparameters.h"

namespace {

using P = StationParameters;

const std::array<ParameterEdit, 16> Edits { {
    { "MaskEdit2", ChangedGroups::ServiceWord, 8, &P::ToolWord, true },
    { "MaskEdit3", ChangedGroups::Thresholds, 2, &P::DeviacD, false },
    { "MaskEdit4", ChangedGroups::Thresholds, 2, &P::DeviacM, false },
    { "MaskEdit5", ChangedGroups::Thresholds, 2, &P::DeviacG, false },
    { "MaskEdit9", ChangedGroups::Thresholds, 2, &P::Deviacd2, false },
    { "MaskEdit10", ChangedGroups::Thresholds, 2, &P::DeviacM2, false },
    { "MaskEdit11", ChangedGroups::Thresholds, 2, &P::DeviacG2, false },
    { "MaskEdit7", ChangedGroups::Sensitivity, 2, &P::Osl_mw, false },
    { "MaskEdit8", ChangedGroups::Sensitivity, 2, &P::osl_gmw, false },
    { "MaskEdit6", ChangedGroups::Sensitivity, 2, &P::reserv, true },
    { "MvEdit0", 2, 3, &P::PrmMv1, false },
    { "MvEdit1", 2, 3, &P::PrdMv1, false },
    { "MvEdit2", 3, 3, &P::PrmMv2, false },
    { "MvEdit3", 3, 3, &P::PrdMv2, false },
    { "MvEdit4", 4, 3, &P::PrmMv3, false },
    { "MvEdit5", 4, 3, &P::PrdMv3, false },
} };

void readGroups(StationParameters &params, const EditTexts &texts, int firstGroup, int lastGroup)
{
    for (const ParameterEdit &edit : Edits) {
        if (edit.group >= firstGroup && edit.group <= lastGroup) {
            params.*edit.field
                = FittedToWidth(texts.value(QLatin1String(edit.name)), edit.maxLength);
        }
    }
}

} // namespace

const std::array<ParameterEdit, 16> &ParameterEdits()
{
    return Edits;
}

QString FittedToWidth(const QString &text, int width)
{
    return PadWithZeros(text.left(width), width);
}

EditTexts TextsFromParameters(const StationParameters &params)
{
    EditTexts texts;
    texts.insert(QLatin1String(ElectromechanicEdit), params.Mehanik);
    texts.insert(QLatin1String(ProgramVersionEdit), params.ProgramVersion);
    for (const ParameterEdit &edit : Edits) {
        texts.insert(QLatin1String(edit.name), params.*edit.field);
    }
    return texts;
}

void ReadElectromechanic(StationParameters &params, const EditTexts &texts)
{
    params.Mehanik
        = PadWithZeros(texts.value(QLatin1String(ElectromechanicEdit)), ElectromechanicMinLength);
}

void ReadServiceWord(StationParameters &params, const EditTexts &texts)
{
    readGroups(params, texts, ChangedGroups::ServiceWord, ChangedGroups::ServiceWord);
}

void ReadThresholds(StationParameters &params, const EditTexts &texts)
{
    readGroups(params, texts, ChangedGroups::Thresholds, ChangedGroups::Thresholds);
}

void ReadSensitivity(StationParameters &params, const EditTexts &texts)
{
    readGroups(params, texts, ChangedGroups::Sensitivity, ChangedGroups::Sensitivity);
}

void ReadChannels(StationParameters &params, const EditTexts &texts)
{
    readGroups(params, texts, ChangedGroups::FirstChannels, ChangedGroups::LastChannels);
}

void ReadAllParameters(StationParameters &params, const EditTexts &texts)
{
    ReadServiceWord(params, texts);
    ReadThresholds(params, texts);
    ReadSensitivity(params, texts);
    ReadChannels(params, texts);
}
