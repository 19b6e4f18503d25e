#pragma once

#include "params/changedgroups.h"
#include "params/parameterreads.h"

#include <QObject>

class CommandBuffer;
class CommandSender;
class OperatorMessages;
class ResultRecorder;
struct StationParameters;

// What the parameters window does with its texts, without the window: it keeps
// ChangedGroups, sends one group or the whole set (copying the group's edits into
// the set first, recording every send as a "Запись" row) and decides at closing.
class ParameterSender : public QObject
{
    Q_OBJECT
public:
    ParameterSender(StationParameters &params, CommandBuffer &buffer, CommandSender &sender,
        ResultRecorder &recorder, OperatorMessages &messages, QObject *parent = nullptr);

    ChangedGroups &changes() { return m_changes; }
    const ChangedGroups &changes() const { return m_changes; }

    // The send control of group (0..4, 6, or ChangedGroups::SendAll): reads the
    // electromechanic and the group's edits, builds its messages into the one command
    // buffer, sends them, clears the group's bit and writes the "Запись" row. The bit
    // is cleared and the row written even when the send fails.
    void Send(int group, const EditTexts &texts);

    // The closing of the window: takes the electromechanic as typed, offers to send
    // what was changed and not sent, and returns whether the functions reserved for
    // the holder of the access code are open.
    bool Close(const EditTexts &texts);

Q_SIGNALS:
    // The service word in the set was replaced from the window; the main window shows it.
    void serviceWordRead();

private:
    StationParameters &m_params;
    CommandBuffer &m_buffer;
    CommandSender &m_sender;
    ResultRecorder &m_recorder;
    OperatorMessages &m_messages;
    ChangedGroups m_changes;
};
