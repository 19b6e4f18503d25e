#include "sequences/windows/callrangedialog.h"

#include "widgets/rangedialogparts.h"

#include <QComboBox>
#include <QPushButton>

TFDiapDlg::TFDiapDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FDiapDlg"));
    setWindowTitle(QStringLiteral("Диапазон вызова"));
    setFixedSize(220, 96);

    ComboBox1 = AddRangeList(this, 14, QRect(110, 14, 96, 22), ComboChange);
    const OkCancelButtons buttons = AddOkCancelButtons(this, 20, 56);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

std::optional<int> TFDiapDlg::askCallRange(int range)
{
    ComboBox1->setCurrentIndex(range);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ComboBox1->currentIndex();
}
