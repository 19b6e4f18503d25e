#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

class DatabaseTable;

// One recorded radio test of the locomotive, with the fault lines of its result.
struct HistoryTest
{
    QDate date;
    QTime time;
    QString event;
    QString verdict;
    QString code;
    QStringList faults; // the red lines of the decoded result, in order
};

// One set of factory numbers of the locomotive's blocks.
struct HistoryBlocks
{
    QStringList blocks; // Block1 .. Block8
    QDate entered;
    QTime enteredTime;
    QDate confirmed; // invalid for a row entered by hand
    QTime confirmedTime;
};

struct LocomotiveHistory
{
    QString locomotive;
    QList<HistoryTest> tests;   // oldest first
    QList<HistoryBlocks> blocks; // by the date of entry
};

// Every radio test of the locomotive from the open Test23 table, and its factory
// numbers from the open BlockNum table. False with the engine's text on a failure.
bool ReadTestHistory(
    DatabaseTable &radioTests, const QString &locomotive, LocomotiveHistory *history, QString *error);
bool ReadBlockHistory(
    DatabaseTable &blockNumbers, const QString &locomotive, LocomotiveHistory *history, QString *error);

// The history as an HTML document for printing, with the time it was printed.
QString LocomotiveHistoryHtml(const LocomotiveHistory &history, const QDateTime &printed);
