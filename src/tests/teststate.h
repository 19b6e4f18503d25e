#pragma once

#include "link/messageframe.h"

#include <array>

// The state of the running test that the receive side and the test sequences share.
struct TestState
{
    static constexpr int CollectionCapacity = 10;

    // The test whose result frames are collected; 0 when none.
    int CollectingTest = 0;
    // Copies of the collected frames in arrival order; the first collectedCount are valid.
    std::array<MessageFrame, CollectionCapacity> TestCollection {};
    int collectedCount = 0;

    int SelectedTest = 1;
    bool WaitActive = false;
    bool NoConfirmation = false;

    // Starts collecting for test, with an empty collection.
    void startCollecting(int test)
    {
        CollectingTest = test;
        collectedCount = 0;
    }

    // Appends a copy of frame; a frame beyond the tenth is dropped.
    bool collect(const MessageFrame &frame)
    {
        if (collectedCount >= CollectionCapacity) {
            return false;
        }
        TestCollection[static_cast<std::size_t>(collectedCount++)] = frame;
        return true;
    }
};
