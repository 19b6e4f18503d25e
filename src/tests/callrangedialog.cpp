#include "tests/callrangedialog.h"

#include "link/ranges.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TFDiapDlg::TFDiapDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FDiapDlg"));
    setWindowTitle(QStringLiteral("Диапазон вызова"));
    setFixedSize(220, 96);

    auto *label = new QLabel(QStringLiteral("Диапазон:"), this);
    label->setObjectName(QStringLiteral("Label2"));
    label->setGeometry(12, 14, 80, 22);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int range = 0; range < SelectableRangeCount; ++range) {
        ComboBox1->addItem(RangeName(range));
    }
    ComboBox1->setGeometry(110, 14, 96, 22);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(20, 56, 86, 26);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn2->setGeometry(114, 56, 86, 26);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (ComboChange && index >= 0) {
            ComboChange(index);
        }
    });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}
