#pragma once

#include "sequences/testparametersview.h"

#include <QDialog>

#include <functional>

class OperatorMessages;
class QComboBox;
class QLineEdit;
class QPushButton;
struct StationData;

// "Параметры теста": the train or locomotive number and the range of a radio test.
class TFTestDlg final : public QDialog, public TestParametersView
{
    Q_OBJECT
public:
    enum NumberKind { TrainNumberKind = 0, LocoNumberKind = 1 };

    static constexpr int TrainNumberLength = 4;
    static constexpr int LocoNumberLength = 7;

    TFTestDlg(StationData &station, OperatorMessages &messages, QWidget *parent = nullptr);

    // Runs the dialog; radio test 1 takes a locomotive number only.
    std::optional<TestRequest> askTestParameters(int test) override;

    NumberKind numberKind() const;
    // The main window's handler of a change of the range list.
    std::function<void(int)> ComboChange;

    QComboBox *RadioGroup1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    // Closing: with OK, a blocked band asks first; any answer but Yes keeps the dialog
    // open. In every case the range is taken; the number-kind list is enabled once
    // the dialog has closed.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Radio test 1 allows a locomotive number only; the list is enabled again once the
    // dialog has closed.
    void fixNumberKind(NumberKind kind);
    void FormShow();
    void BitBtn1Click();
    QString blockedBandName() const;

    StationData &m_station;
    OperatorMessages &m_messages;
};
