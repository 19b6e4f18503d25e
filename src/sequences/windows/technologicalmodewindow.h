#pragma once

#include "link/stationview.h"

#include <QDialog>

class ProgramContext;
class QLineEdit;
class QPushButton;

// "Спецрежим": sends a train number, a locomotive number and an information text,
// and shows the two results the station sends back.
class TFSPC final : public QDialog, public SpecialModeDisplay
{
    Q_OBJECT
public:
    explicit TFSPC(ProgramContext &context, QWidget *parent = nullptr);

    // "Технологический режим 3": opens this window for the holder of the access code.
    void N31Click();

    void showSpecialModeResult(Result field, const QString &text) override;

    QLineEdit *Edit1 = nullptr; // train number
    QLineEdit *Edit2 = nullptr; // locomotive number
    QLineEdit *Edit3 = nullptr; // information
    QLineEdit *EResult1 = nullptr;
    QLineEdit *EResult2 = nullptr;
    QPushButton *BitBtn1 = nullptr; // "Старт"
    QPushButton *BitBtn3 = nullptr; // "Сброс"
    QPushButton *BitBtn2 = nullptr; // "Выход"

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BitBtn1Click();
    void BitBtn3Click();

    ProgramContext &m_context;
};
