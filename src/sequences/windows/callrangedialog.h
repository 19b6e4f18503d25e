#pragma once

#include "sequences/callrangeview.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QPushButton;

// "Диапазон вызова": the range of a call.
class TFDiapDlg final : public QDialog, public CallRangeView
{
    Q_OBJECT
public:
    explicit TFDiapDlg(QWidget *parent = nullptr);

    std::optional<int> askCallRange(int range) override;

    // The main window's handler of a change of the range list.
    std::function<void(int)> ComboChange;

    QComboBox *ComboBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
