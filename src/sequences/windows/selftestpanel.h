#pragma once

#include "sequences/testwaitview.h"

#include <QFrame>

class PieGauge;
class QLabel;
class QPushButton;
class QStatusBar;
class ResultLinesView;

// The self-test's result view in the main window (Panel4).
class SelfTestPanel final : public QFrame, public TestWaitView
{
    Q_OBJECT
public:
    explicit SelfTestPanel(QWidget *parent = nullptr);

    void showWaiting(const QString &startStamp, int limitSeconds) override;
    void showElapsed(int seconds) override;
    void showVerdict(const QString &code, const QString &verdict, bool fault,
        const ResultLines &lines) override;
    void showEnded() override;

    QLabel *Label24 = nullptr; // header
    QLabel *LSoob1 = nullptr; // "Результат теста:"
    QLabel *LTest1 = nullptr; // the result code as received
    PieGauge *Gauge2 = nullptr; // seconds elapsed, 0..20
    ResultLinesView *RichEdit1 = nullptr; // the decoded result
    QLabel *LResult = nullptr; // the verdict
    QPushButton *BitBtn3 = nullptr; // "Отмена" while waiting, "OK" afterwards
    QStatusBar *StatusBar1 = nullptr; // "Начат " and the start

    // BitBtn3 as a cancel button while the wait runs, as OK once it has ended.
    void setWaiting(bool waiting);
};
