#include "params/parameterreads.h"

#include "params/changedgroups.h"
#include "params/servicewordcodec.h"
#include "shared/codecs.h"
#include "shared/stationparameters.h"

namespace {

using P = StationParameters;

QString decimal(const QString &text)
{
    return KeepDigits(text);
}

QString hex(const QString &text)
{
    return KeepDigits(text, true);
}

const std::array<ParameterEdit, 16> Edits { {
    { "MaskEdit2", ChangedGroups::ServiceWord, 8, &P::ToolWord, ServiceWordTyped },
    { "MaskEdit3", ChangedGroups::Thresholds, 2, &P::DeviacD, decimal },
    { "MaskEdit4", ChangedGroups::Thresholds, 2, &P::DeviacM, decimal },
    { "MaskEdit5", ChangedGroups::Thresholds, 2, &P::DeviacG, decimal },
    { "MaskEdit9", ChangedGroups::Thresholds, 2, &P::Deviacd2, decimal },
    { "MaskEdit10", ChangedGroups::Thresholds, 2, &P::DeviacM2, decimal },
    { "MaskEdit11", ChangedGroups::Thresholds, 2, &P::DeviacG2, decimal },
    { "MaskEdit7", ChangedGroups::Sensitivity, 2, &P::Osl_mw, decimal },
    { "MaskEdit8", ChangedGroups::Sensitivity, 2, &P::osl_gmw, decimal },
    { "MaskEdit6", ChangedGroups::Sensitivity, 2, &P::reserv, hex },
    { "MvEdit0", 2, 3, &P::PrmMv1, decimal },
    { "MvEdit1", 2, 3, &P::PrdMv1, decimal },
    { "MvEdit2", 3, 3, &P::PrmMv2, decimal },
    { "MvEdit3", 3, 3, &P::PrdMv2, decimal },
    { "MvEdit4", 4, 3, &P::PrmMv3, decimal },
    { "MvEdit5", 4, 3, &P::PrdMv3, decimal },
} };

void readGroups(StationParameters &params, const EditTexts &texts, int firstGroup, int lastGroup)
{
    for (const ParameterEdit &edit : Edits) {
        if (edit.group >= firstGroup && edit.group <= lastGroup) {
            params.*edit.field
                = edit.digits(FittedToWidth(texts.value(QLatin1String(edit.name)), edit.maxLength));
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
