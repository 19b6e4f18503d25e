#pragma once

#include "shared/messageframe.h"

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
    // The station reported itself busy (0xC9) and not free again since, nor has a
    // test ended or the station been reset meanwhile.
    bool StationBusy = false;

    // Starts collecting for test, with an empty collection.
    void startCollecting(int test)
    {
        CollectingTest = test;
        collectedCount = 0;
    }

    // Marks every collected frame not looked at yet as examined, and calls onResult
    // with each whole result frame (0xE2 with eight nibbles) among them, in order.
    template<typename OnResult> void examineNewFrames(OnResult onResult)
    {
        for (int i = 0; i < collectedCount; ++i) {
            MessageFrame &frame = TestCollection[static_cast<std::size_t>(i)];
            if (frame.State != MessageFrame::Complete) {
                continue;
            }
            frame.State = MessageFrame::Examined;
            if (frame.Code == 0xE2 && frame.Count == MessageFrame::NibbleCells) {
                onResult(frame);
            }
        }
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
