#include "sequences/windows/technologicalmodewindow.h"

#include "context/programcontext.h"
#include "link/commands.h"
#include "sequences/windows/digitfilter.h"
#include "shared/codecs.h"
#include "shared/operatormessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int InfoTextLength = 8;

QLineEdit *edit(QWidget *parent, const char *labelName, const char *name, const char16_t *caption,
    int y, int maxLength)
{
    auto *label = new QLabel(QString::fromUtf16(caption), parent);
    label->setObjectName(QLatin1String(labelName));
    label->setGeometry(12, y, 120, 22);
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(140, y, 100, 22);
    e->setMaxLength(maxLength);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const char16_t *caption, int x)
{
    auto *b = new QPushButton(QString::fromUtf16(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 176, 76, 26);
    return b;
}

void setTextColour(QLineEdit *field, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
}

} // namespace

TFSPC::TFSPC(ProgramContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("FSPC"));
    setWindowTitle(QStringLiteral("Спецрежим"));
    setFixedSize(260, 214);

    Edit1 = edit(this, "Label1", "Edit1", u"Номер поезда", 12, 4);
    Edit2 = edit(this, "Label2", "Edit2", u"Номер локомотива", 40, 7);
    Edit3 = edit(this, "Label3", "Edit3", u"Информация", 68, InfoTextLength);
    EResult1 = edit(this, "Label4", "EResult1", u"Результат 1:", 108, 8);
    EResult2 = edit(this, "Label5", "EResult2", u"Результат 2:", 136, 8);
    for (QLineEdit *e : { Edit1, Edit2, Edit3 }) {
        InstallDigitFilter(e);
    }
    for (QLineEdit *result : { EResult1, EResult2 }) {
        result->setReadOnly(true);
        setTextColour(result, Qt::black);
    }

    BitBtn1 = button(this, "BitBtn1", u"Старт", 6);
    BitBtn3 = button(this, "BitBtn3", u"Сброс", 92);
    BitBtn2 = button(this, "BitBtn2", u"Выход", 178);
    connect(BitBtn1, &QPushButton::clicked, this, &TFSPC::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFSPC::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

void TFSPC::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFSPC::FormShow()
{
    const CurrentNumbers &numbers = m_context.station.numbers;
    Edit1->setText(numbers.TrainNumber);
    Edit2->setText(numbers.LocoNumber);
    Edit3->setText(numbers.InfoText);
    EResult1->clear();
    EResult2->clear();
}

void TFSPC::BitBtn1Click()
{
    BitBtn1->setEnabled(false);
    CurrentNumbers &numbers = m_context.station.numbers;
    numbers.TrainNumber = PadWithZeros(Edit1->text(), 4);
    numbers.LocoNumber = PadWithZeros(Edit2->text(), 7);
    numbers.InfoText = PadWithZeros(Edit3->text(), InfoTextLength);

    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendTrainNumberFrame(buffer, numbers.TrainNumber);
    AppendLocoNumberFrame(buffer, numbers.LocoNumber);
    AppendInfoFrame(buffer, numbers.InfoText);
    m_context.sender.SendCommand();
}

void TFSPC::BitBtn3Click()
{
    EResult1->clear();
    EResult2->clear();
    BitBtn1->setEnabled(true);
    m_context.sendSingleByte(CommandByte::Reset);
}

void TFSPC::done(int result)
{
    if (!BitBtn1->isEnabled()) {
        // A run is going: end it with the reset.
        BitBtn1->setEnabled(true);
        m_context.sendSingleByte(CommandByte::Reset);
    }
    QDialog::done(result);
}

void TFSPC::N31Click()
{
    if (!m_context.station.params.AccessGranted()) {
        m_context.messages.showError(
            QStringLiteral("У Вас нет разрешения на выполнение этого режима"));
        return;
    }
    exec();
}

void TFSPC::showSpecialModeResult(Result field, const QString &text)
{
    QLineEdit *target = field == Result::EResult1 ? EResult1 : EResult2;
    target->setText(text);
    const bool black = target->palette().color(QPalette::Text) == QColor(Qt::black);
    setTextColour(target, black ? QColor(Qt::blue) : QColor(Qt::black));
}
