#pragma once

#include "link/stationview.h"
#include "sequences/callrangeview.h"
#include "sequences/radiotest1view.h"
#include "sequences/radiotestview.h"
#include "sequences/servicecommandsview.h"
#include "sequences/testhost.h"
#include "sequences/testparametersview.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>

// What the test sequences show, one line each in calls: the course of a wait, the
// menus and panels, radio test 1 and the direct commands. The frequent or side
// effects (the stamp, the gauges, the grid, the range) are kept apart.
struct RecordingScreen final : RadioTestView, RadioTest1View, TestHost, ServiceCommandsView
{
    void showTest(const QString &header, const QString &train, const QString &loco) override
    {
        calls.append(QStringList { header, train, loco }.join(QLatin1Char('|')));
    }
    void clearResult() override { calls.append(QStringLiteral("cleared")); }
    void showWaiting(const QString &startStamp, int limit) override
    {
        stamp = startStamp;
        calls.append(QStringLiteral("waiting %1").arg(limit));
    }
    void showElapsed(int seconds) override { elapsed = seconds; }
    void showVerdict(const QString &code, const QString &verdict, bool fault,
        const ResultLines &shownLines) override
    {
        calls.append(QStringLiteral("verdict %1/%2/%3").arg(code, verdict).arg(fault));
        lines = shownLines;
    }
    void showEnded() override { calls.append(QStringLiteral("ended")); }

    void showRadioTest1(const QString &header, const QString &locoLine, int seconds) override
    {
        calls.append(QStringLiteral("%1|%2|%3").arg(header, locoLine).arg(seconds));
    }
    void showRadioTest1Elapsed(int seconds) override { elapsed = seconds; }
    void showRadioTest1Ended() override { calls.append(QStringLiteral("test 1 ended")); }

    void SetCommandMenus(bool on) override
    {
        menusOn = on;
        calls.append(on ? QStringLiteral("menus on") : QStringLiteral("menus off"));
    }
    void ClearMessageGrid() override { gridLines.clear(); }
    void showPanel(Panel panel) override
    {
        calls.append(QStringLiteral("panel %1").arg(static_cast<int>(panel)));
    }
    void ResetResultsPanel() override { }
    void AddLineWithoutRange(const QString &text) override { gridLines.append(text); }
    void setCurrentRange(int shown) override { range = shown; }

    void resetTestGauges() override { elapsed = 0; }
    bool amplifierAlarmShown() const override
    {
        return alarms.contains(StationView::Alarm::UmMv)
            || alarms.contains(StationView::Alarm::UmGmv);
    }
    void hideAmplifierAlarms() override
    {
        alarms.remove(StationView::Alarm::UmMv);
        alarms.remove(StationView::Alarm::UmGmv);
    }
    void showTechnologicalMode(const QString &header, bool liuField) override
    {
        calls.append(header + (liuField ? QStringLiteral("|ЛИУ") : QString()));
    }

    QStringList calls;
    QString stamp;
    int elapsed = -1;
    ResultLines lines; // of the last verdict
    QStringList gridLines;
    int range = -1;
    bool menusOn = true;
    QSet<StationView::Alarm> alarms; // as the station's codes show them
};

// Plays the operator in the settings dialogs: each question takes the next answer
// (none left: cancelled), after whileOpen has run as the event loop of the open
// dialog would.
struct ScriptedDialogs final : TestParametersView, CallRangeView
{
    std::optional<TestRequest> askTestParameters(int test) override
    {
        askedTests.append(test);
        open();
        return requests.isEmpty() ? std::nullopt : requests.takeFirst();
    }

    std::optional<int> askCallRange(int range) override
    {
        callRangesOffered.append(range);
        open();
        return callRanges.isEmpty() ? std::nullopt : callRanges.takeFirst();
    }

    // A copy runs, so that whileOpen may replace itself.
    void open()
    {
        if (const std::function<void()> run = whileOpen) {
            run();
        }
    }

    QList<std::optional<TestRequest>> requests;
    QList<std::optional<int>> callRanges;
    QList<int> askedTests;
    QList<int> callRangesOffered;
    std::function<void()> whileOpen;
};
