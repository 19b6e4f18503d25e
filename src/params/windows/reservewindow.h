#pragma once

#include "params/reservecodec.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

// "FReserv": the bits of the reserve byte as check boxes and the tone list. It only
// shows and returns settings; the parameters window decodes and encodes the byte.
class TFReserv final : public QDialog
{
    Q_OBJECT
public:
    explicit TFReserv(QWidget *parent = nullptr);

    void fill(const ReserveSettings &settings);
    ReserveSettings settings() const;

private:
    QCheckBox *m_test21 = nullptr;
    QCheckBox *m_test22 = nullptr;
    QCheckBox *m_test32 = nullptr;
    QCheckBox *m_dvx = nullptr;
    QComboBox *m_tone = nullptr;
};
