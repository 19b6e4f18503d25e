#pragma once

#include "shared/operatormessages.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records the messages the operator would see and answers questions from a script.
class FakeMessages final : public OperatorMessages
{
public:
    void showError(const QString &text) override
    {
        errors.append(text);
        if (whileShown) {
            whileShown(); // what the event loop of a real box would run meanwhile
        }
    }

    Answer ask(const QString &text, bool) override
    {
        questions.append(text);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }

    QStringList errors;
    QStringList questions;
    QList<Answer> answers;
    std::function<void()> whileShown;
};
