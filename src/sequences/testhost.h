#pragma once

#include <QString>

// What the test sequences need of the main window.
class TestHost
{
public:
    // The three panels that share the results area; one is shown at a time.
    enum class Panel { Results, SelfTest, RadioTest };

    virtual ~TestHost() = default;

    virtual void SetCommandMenus(bool on) = 0;
    virtual void ClearMessageGrid() = 0;
    virtual void showPanel(Panel panel) = 0;
    virtual void ResetResultsPanel() = 0;
    // A line of the received-messages grid with an empty range cell.
    virtual void AddLineWithoutRange(const QString &text) = 0;
    // Sets the current range and shows it, as a change of a range list does.
    virtual void setCurrentRange(int range) = 0;
};
