#include "tests/testparametersdialog.h"

#include "link/operatormessages.h"
#include "link/ranges.h"
#include "link/stationdata.h"
#include "tests/digitfilter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TFTestDlg::TFTestDlg(StationData &station, OperatorMessages &messages, QWidget *parent)
    : QDialog(parent)
    , m_station(station)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FTestDlg"));
    setWindowTitle(QStringLiteral("Параметры теста"));
    setFixedSize(260, 130);

    RadioGroup1 = new QComboBox(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->addItems({ QStringLiteral("Номер поезда"), QStringLiteral("Номер локомотива") });
    RadioGroup1->setGeometry(12, 12, 140, 22);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(160, 12, 88, 22);
    InstallDigitFilter(Edit1);

    auto *label = new QLabel(QStringLiteral("Диапазон:"), this);
    label->setObjectName(QStringLiteral("Label2"));
    label->setGeometry(12, 50, 80, 22);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int range = 0; range < SelectableRangeCount; ++range) {
        ComboBox1->addItem(RangeName(range));
    }
    ComboBox1->setGeometry(160, 50, 88, 22);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(40, 92, 86, 26);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn2->setGeometry(134, 92, 86, 26);

    // FormCreate: train numbers and МВ2 to begin with.
    RadioGroup1->setCurrentIndex(TrainNumberKind);
    ComboBox1->setCurrentIndex(RangeMV2);

    connect(RadioGroup1, &QComboBox::activated, this, &TFTestDlg::FormShow); // RadioGroup1Exit
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (ComboChange) {
            ComboChange(index);
        }
    });
    connect(BitBtn1, &QPushButton::clicked, this, &TFTestDlg::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TFTestDlg::NumberKind TFTestDlg::numberKind() const
{
    return RadioGroup1->currentIndex() == LocoNumberKind ? LocoNumberKind : TrainNumberKind;
}

void TFTestDlg::fixNumberKind(NumberKind kind)
{
    RadioGroup1->setCurrentIndex(kind);
    RadioGroup1->setEnabled(false);
}

void TFTestDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFTestDlg::FormShow()
{
    const bool train = numberKind() == TrainNumberKind;
    Edit1->setMaxLength(train ? TrainNumberLength : LocoNumberLength);
    Edit1->setText(train ? m_station.numbers.TrainNumber : m_station.numbers.LocoNumber);
}

void TFTestDlg::BitBtn1Click()
{
    CurrentNumbers &numbers = m_station.numbers;
    (numberKind() == TrainNumberKind ? numbers.TrainNumber : numbers.LocoNumber) = Edit1->text();
    numbers.TrainNumber = PadWithZeros(numbers.TrainNumber, TrainNumberLength);
    numbers.LocoNumber = PadWithZeros(numbers.LocoNumber, LocoNumberLength);
    accept();
}

QString TFTestDlg::blockedBandName() const
{
    const int blocked = m_station.params.ToolWordBits(2);
    const int range = ComboBox1->currentIndex();
    if (range == RangeDMV) {
        return (blocked & 0x01) ? QStringLiteral("ДМВ") : QString();
    }
    if (range == RangeGMV1 || range == RangeGMV2) {
        return (blocked & 0x04) ? QStringLiteral("ГМВ") : QString();
    }
    return (blocked & 0x02) ? QStringLiteral("МВ") : QString();
}

void TFTestDlg::done(int result)
{
    RadioGroup1->setEnabled(true);
    m_station.CurrentRange = ComboBox1->currentIndex();
    if (result == QDialog::Accepted) {
        const QString band = blockedBandName();
        if (!band.isEmpty()
            && m_messages.ask(band + QStringLiteral(" заблокирован.Продолжить?"), false)
                != OperatorMessages::Answer::Yes) {
            ComboBox1->setFocus();
            return;
        }
    }
    QDialog::done(result);
}
