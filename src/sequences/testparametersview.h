#pragma once

#include <QString>

#include <optional>

class TestHost;
struct StationData;

// The settings of a radio test as the operator confirmed them.
struct TestRequest
{
    bool trainNumberKind = false; // the train number is sent, else the locomotive's
    QString trainNumber;
    QString locoNumber;
    int range = 0;
};

// Asks the operator for the settings of radio test 1, 2 or 3; nothing for a cancelled
// dialog. The test parameters dialog implements it, modally: it is asked from a click
// or the hourly tick, never from a pass of a test wait.
class TestParametersView
{
public:
    virtual ~TestParametersView() = default;

    virtual std::optional<TestRequest> askTestParameters(int test) = 0;
};

// The request's numbers and range become the current ones, the range shown as sent.
void TakeTestRequest(const TestRequest &request, StationData &station, TestHost &host);
