#pragma once

#include "shared/operatormessages.h"

// Operator messages as modal message boxes over the active window.
class MessageBoxes final : public OperatorMessages
{
public:
    void showError(const QString &text) override;
    Answer ask(const QString &text, bool withCancel) override;
};
