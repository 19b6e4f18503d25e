#include "sequences/windows/testparametersdialog.h"

#include "link/commands.h"
#include "link/ranges.h"
#include "sequences/windows/digitfilter.h"
#include "shared/codecs.h"
#include "shared/operatormessages.h"
#include "shared/stationdata.h"
#include "widgets/rangedialogparts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

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

    ComboBox1 = AddRangeList(this, 50, QRect(160, 50, 88, 22), ComboChange);
    const OkCancelButtons buttons = AddOkCancelButtons(this, 40, 92);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;

    // FormCreate: train numbers and МВ2 to begin with.
    RadioGroup1->setCurrentIndex(TrainNumberKind);
    ComboBox1->setCurrentIndex(RangeMV2);

    connect(RadioGroup1, &QComboBox::activated, this, &TFTestDlg::FormShow); // RadioGroup1Exit
    connect(BitBtn1, &QPushButton::clicked, this, &TFTestDlg::BitBtn1Click);
}

std::optional<TestRequest> TFTestDlg::askTestParameters(int test)
{
    if (test == TestNumber::RadioTest1) {
        fixNumberKind(LocoNumberKind);
    }
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const CurrentNumbers &numbers = m_station.numbers;
    return TestRequest { numberKind() == TrainNumberKind, numbers.TrainNumber, numbers.LocoNumber,
        ComboBox1->currentIndex() };
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
    // The range field shows the range taken, also when the list was not changed.
    if (ComboChange) {
        ComboChange(ComboBox1->currentIndex());
    } else {
        m_station.CurrentRange = ComboBox1->currentIndex();
    }
    if (result == QDialog::Accepted) {
        const QString band = blockedBandName();
        if (!band.isEmpty()
            && m_messages.ask(band + QStringLiteral(" заблокирован.Продолжить?"), false)
                != OperatorMessages::Answer::Yes) {
            ComboBox1->setFocus();
            return; // still open: a fixed number kind stays fixed
        }
    }
    RadioGroup1->setEnabled(true);
    QDialog::done(result);
}
