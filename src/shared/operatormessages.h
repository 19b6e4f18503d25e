#pragma once

#include <QString>

// Modal messages to the operator. Logic objects report through this interface so
// that they never open windows themselves; the program shows message boxes, the
// tests record what would have been shown and give scripted answers.
class OperatorMessages
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~OperatorMessages() = default;

    // An error box with a single OK button; returns when the operator has closed it.
    virtual void showError(const QString &text) = 0;

    // A warning with Yes/No, or Yes/No/Cancel when withCancel is set.
    virtual Answer ask(const QString &text, bool withCancel) = 0;
};
