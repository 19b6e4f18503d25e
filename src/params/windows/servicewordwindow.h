#pragma once

#include "params/servicewordcodec.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;

// "Состояние служебного слова": the service word as lists and check boxes. It only
// shows and returns settings; the parameters window decodes and encodes the word.
class TFSS final : public QDialog
{
    Q_OBJECT
public:
    explicit TFSS(QWidget *parent = nullptr);

    // Every control afresh, so nothing of an earlier opening shows.
    void fill(const ServiceWordSettings &settings, bool mvSensitivityCheckAllowed);

    ServiceWordSettings settings() const;
    bool mvSensitivityCheckAllowed() const;

private:
    struct BitBox
    {
        QCheckBox *box;
        int position; // 1..3
        int bit;
    };

    std::array<QComboBox *, ServiceWordSettings::Lists> m_lists {};
    std::vector<BitBox> m_bitBoxes;
    QCheckBox *m_mvSensitivity = nullptr;
};
