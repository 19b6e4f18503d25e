#pragma once

#include "tests/resulttext.h"

#include <QString>

// What the self-test shows of its course. The self-test panel of the main window
// implements it; the tests record the calls.
class SelfTestView
{
public:
    virtual ~SelfTestView() = default;

    // A wait begins: "Отмена", the start stamp, the gauge at 0 of limitSeconds, and
    // no code, verdict or lines yet.
    virtual void showWaiting(const QString &startStamp, int limitSeconds) = 0;
    virtual void showElapsed(int seconds) = 0;
    // A result, or "Нет ответа " with an empty code: the verdict in red when fault.
    virtual void showVerdict(
        const QString &code, const QString &verdict, bool fault, const ResultLines &lines)
        = 0;
    // The wait is over: "OK", the gauge at its end.
    virtual void showEnded() = 0;
};
