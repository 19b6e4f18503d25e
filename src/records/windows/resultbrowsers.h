#pragma once

#include "records/windows/resultbrowserwindow.h"

// The self-test results browser: the rows of tests1.DB with the decoded self-test
// code of the current row; no locomotive criterion.
class TFDB final : public ResultBrowserWindow
{
    Q_OBJECT
public:
    explicit TFDB(const BrowserServices &services, QWidget *parent = nullptr);
};

// The radio test results browser: the rows of Test23.DB with the decoded radio test
// code of the current row; the locomotive criterion is offered.
class TFDB23 final : public ResultBrowserWindow
{
    Q_OBJECT
public:
    explicit TFDB23(const BrowserServices &services, QWidget *parent = nullptr);
};
