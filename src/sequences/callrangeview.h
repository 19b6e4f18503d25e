#pragma once

#include <optional>

// Asks the operator for the range of a call, starting from range; nothing for a
// cancelled dialog. The call range dialog implements it, modally.
class CallRangeView
{
public:
    virtual ~CallRangeView() = default;

    virtual std::optional<int> askCallRange(int range) = 0;
};
