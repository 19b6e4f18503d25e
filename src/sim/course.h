#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

// One step of what the station does on its own: a pause, then bytes on the line.
// The bytes are made when the step is due, so a step can report what the station
// learnt meanwhile (a correction the PC sent, the next measurement of a loop).
struct CourseStep
{
    int pauseMs = 0; // at speed 1
    std::function<QByteArray()> bytes;
};

// A course of steps; with a loop start it repeats from there until it is stopped
// (the modes that run until the reset).
struct Course
{
    static constexpr int NoLoop = -1;

    QList<CourseStep> steps;
    int loopFrom = NoLoop;

    Course &then(int pauseMs, QByteArray bytes);
    Course &then(int pauseMs, std::function<QByteArray()> bytes);

    // Marks the next step added as the start of the loop.
    Course &loopHere();
};

// A single status byte.
QByteArray StatusByte(int code);
