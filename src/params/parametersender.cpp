#include "params/parametersender.h"

#include "link/commandbuffer.h"
#include "link/commandsender.h"
#include "params/parametermessages.h"
#include "records/resultrecorder.h"
#include "shared/operatormessages.h"
#include "shared/stationparameters.h"

ParameterSender::ParameterSender(StationParameters &params, CommandBuffer &buffer,
    CommandSender &sender, ResultRecorder &recorder, OperatorMessages &messages, QObject *parent)
    : QObject(parent)
    , m_params(params)
    , m_buffer(buffer)
    , m_sender(sender)
    , m_recorder(recorder)
    , m_messages(messages)
{ }

void ParameterSender::Send(int group, const EditTexts &texts)
{
    if (ChangedGroups::Bit(group) == 0 && group != ChangedGroups::SendAll) {
        return; // no send control has this group
    }
    m_buffer.Start();
    ReadElectromechanic(m_params, texts);
    switch (group) {
    case ChangedGroups::ServiceWord:
        ReadServiceWord(m_params, texts);
        Q_EMIT serviceWordRead();
        AppendServiceWordMessage(m_buffer, m_params);
        break;
    case ChangedGroups::Thresholds:
        ReadThresholds(m_params, texts);
        AppendUpperThresholdsMessage(m_buffer, m_params);
        AppendLowerThresholdsMessage(m_buffer, m_params);
        break;
    case ChangedGroups::Sensitivity:
        ReadSensitivity(m_params, texts);
        AppendSensitivityMessage(m_buffer, m_params);
        break;
    case ChangedGroups::SendAll:
        ReadAllParameters(m_params, texts);
        Q_EMIT serviceWordRead();
        AppendAllParameterMessages(m_buffer, m_params);
        break;
    default: // the МВ channel groups
        ReadChannels(m_params, texts);
        AppendChannelsMessage(m_buffer, m_params, group - 1);
        break;
    }
    if (group == ChangedGroups::SendAll) {
        m_changes.clearAll();
    } else {
        m_changes.clear(group);
    }
    m_sender.SendCommand();
    m_recorder.WriteToTable1(QStringLiteral("Запись"), QString(), QString());
}

bool ParameterSender::Close(const EditTexts &texts)
{
    m_params.Mehanik = texts.value(QLatin1String(ElectromechanicEdit));
    if (m_changes.any()
        && m_messages.ask(QStringLiteral("Параметры изменены и не переданы ТЕЛВ. Передать?"), false)
            == OperatorMessages::Answer::Yes) {
        Send(ChangedGroups::SendAll, texts);
    }
    return m_params.AccessGranted();
}
