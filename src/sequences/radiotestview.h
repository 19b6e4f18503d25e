#pragma once

#include "sequences/testwaitview.h"

#include <QString>

// What radio tests 2 and 3 show besides the course of their wait.
class RadioTestView : public TestWaitView
{
public:
    // The header and the number lines of the test about to run.
    virtual void showTest(const QString &header, const QString &trainLine, const QString &locoLine)
        = 0;
    // No result yet: empty verdict, "Результат теста:".
    virtual void clearResult() = 0;
};
