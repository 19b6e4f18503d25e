#pragma once

#include "sequences/radiotestview.h"

#include <QFrame>

class PieGauge;
class QLabel;
class QPushButton;
class QStatusBar;
class ResultLinesView;

// The radio tests' result view in the main window (Panel5).
class RadioTestPanel final : public QFrame, public RadioTestView
{
    Q_OBJECT
public:
    explicit RadioTestPanel(QWidget *parent = nullptr);

    void showTest(
        const QString &header, const QString &trainLine, const QString &locoLine) override;
    void clearResult() override;
    void showWaiting(const QString &startStamp, int limitSeconds) override;
    void showElapsed(int seconds) override;
    void showVerdict(const QString &code, const QString &verdict, bool fault,
        const ResultLines &lines) override;
    void showEnded() override;

    QLabel *Label19 = nullptr; // header
    QLabel *Label22 = nullptr; // train number line
    QLabel *Label23 = nullptr; // locomotive number line
    QLabel *Label21 = nullptr; // "Результат теста:" and the code
    PieGauge *Gauge3 = nullptr; // seconds elapsed; hidden until the first radio test
    ResultLinesView *RichEdit2 = nullptr; // the decoded result
    QLabel *Label20 = nullptr; // the verdict
    QPushButton *BitBtn4 = nullptr; // "Отмена" while waiting, "OK" afterwards
    QStatusBar *StatusBar2 = nullptr; // "Начат " and the start

    void setWaiting(bool waiting);
};
