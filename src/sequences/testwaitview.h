#pragma once

#include "shared/resulttext.h"

#include <QString>

// What a test wait shows of its course: the self-test's and the radio tests' panels
// of the main window implement it; the tests record the calls.
class TestWaitView
{
public:
    virtual ~TestWaitView() = default;

    // A wait begins: "Отмена", the start stamp, the gauge at 0 of limitSeconds, and
    // no code, verdict or lines yet.
    virtual void showWaiting(const QString &startStamp, int limitSeconds) = 0;
    virtual void showElapsed(int seconds) = 0;
    // A result with its code, or "Нет ответа" with an empty code; in red when fault.
    virtual void showVerdict(
        const QString &code, const QString &verdict, bool fault, const ResultLines &lines)
        = 0;
    // The wait is over: "OK".
    virtual void showEnded() = 0;
};
