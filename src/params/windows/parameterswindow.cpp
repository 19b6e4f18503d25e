#include "params/windows/parameterswindow.h"

#include "context/programcontext.h"
#include "params/parametersender.h"
#include "params/servicewordcodec.h"
#include "params/windows/reservewindow.h"
#include "params/windows/servicewordwindow.h"
#include "shared/operatormessages.h"
#include "widgets/help.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int HelpTopic = 3;

struct SendControl
{
    const char *name;
    const char *hint;
    int group;
};

constexpr SendControl SendButtons[] = {
    { "SpeedButton1", "Послать собщение о служебном слове", ChangedGroups::ServiceWord },
    { "SpeedButton2", "Послать сообщение о порогах", ChangedGroups::Thresholds },
    { "SpeedButton3", "Послать сообщение о номерах каналов МВ1", 2 },
    { "SpeedButton4", "Послать сообщение о номерах каналов МВ2", 3 },
    { "SpeedButton5", "Послать сообщение о номерах каналов МВ3", 4 },
    { "SpeedButton7", "Послать сообщение о порогах", ChangedGroups::Sensitivity },
};

QLabel *label(QWidget *parent, const QString &text, bool underlined = false)
{
    auto *l = new QLabel(text, parent);
    if (underlined) {
        QFont font = l->font();
        font.setUnderline(true);
        l->setFont(font);
    }
    return l;
}

QLineEdit *lineEdit(QWidget *parent, const char *name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    const int charWidth = e->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    e->setFixedWidth(charWidth * (maxLength + 1) + 12);
    return e;
}

QPushButton *decodeButton(QWidget *parent, const char *name, const QString &hint)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    b->setFixedSize(26, 24);
    return b;
}

} // namespace

TFParam::TFParam(ProgramContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("FParam"));
    setWindowTitle(QStringLiteral("Параметры ТЕЛВ"));
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Help::setTopic(this, HelpTopic);

    m_sender = new ParameterSender(context.station.params, context.commandBuffer, context.sender,
        context.recorder, context.messages, this);
    connect(m_sender, &ParameterSender::serviceWordRead, this, &TFParam::serviceWordEdited);
    m_serviceWordDialog = new TFSS(this);
    m_reserveDialog = new TFReserv(this);
    buildControls();
}

TFParam::~TFParam() = default;

void TFParam::buildControls()
{
    QLineEdit *mehanik = lineEdit(this, ElectromechanicEdit, ElectromechanicMaxLength);
    QLineEdit *version = lineEdit(this, ProgramVersionEdit, 6);
    version->setMaxLength(32767);
    version->setReadOnly(true);
    m_edits.insert(QLatin1String(ElectromechanicEdit), mehanik);
    m_edits.insert(QLatin1String(ProgramVersionEdit), version);
    for (const ParameterEdit &info : ParameterEdits()) {
        QLineEdit *e = lineEdit(this, info.name, info.maxLength);
        m_edits.insert(QLatin1String(info.name), e);
        connect(e, &QLineEdit::textChanged, this, [this, e, &info] { MaskEdit2Change(e, info); });
    }

    QHash<int, QToolButton *> send;
    for (const SendControl &control : SendButtons) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(control.name));
        b->setToolTip(QString::fromUtf8(control.hint));
        b->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this,
            [this, group = control.group] { SpeedButton1Click(group); });
        send.insert(control.group, b);
    }
    auto *sendAll = new QPushButton(QStringLiteral(" Отправить всё"), this);
    sendAll->setObjectName(QStringLiteral("BitBtn1"));
    sendAll->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    sendAll->setAutoDefault(false);
    connect(sendAll, &QPushButton::clicked, this,
        [this] { SpeedButton1Click(ChangedGroups::SendAll); });
    QPushButton *decodeWord
        = decodeButton(this, "BitBtn2", QStringLiteral("Расшифровка служебного слова"));
    QPushButton *decodeReserve
        = decodeButton(this, "BitBtn3", QStringLiteral("Расшифровка резервных данных"));
    decodeWord->setAutoDefault(false);
    decodeReserve->setAutoDefault(false);
    connect(decodeWord, &QPushButton::clicked, this, &TFParam::BitBtn2Click);
    connect(decodeReserve, &QPushButton::clicked, this, &TFParam::BitBtn3Click);

    auto *top = new QGridLayout;
    top->addWidget(label(this, QStringLiteral("Электромеханик :")), 0, 0);
    top->addWidget(mehanik, 0, 1, 1, 3);
    top->addWidget(label(this, QStringLiteral("Версия программы:")), 0, 5);
    top->addWidget(version, 0, 6);
    top->addWidget(label(this, QStringLiteral("Служебное слово:"), true), 1, 0);
    top->addWidget(edit("MaskEdit2"), 1, 1);
    top->addWidget(decodeWord, 1, 2);
    top->addWidget(send.value(ChangedGroups::ServiceWord), 1, 3);
    top->setColumnStretch(4, 1);

    auto *thresholds = new QGridLayout;
    thresholds->addWidget(label(this, QStringLiteral("Пороги девиации"), true), 0, 0, 1, 2);
    thresholds->addWidget(send.value(ChangedGroups::Thresholds), 0, 2);
    thresholds->addWidget(label(this, QStringLiteral("Верхний")), 1, 1);
    thresholds->addWidget(label(this, QStringLiteral("Нижний")), 1, 2);
    const char *upper[] = { "MaskEdit3", "MaskEdit4", "MaskEdit5" };
    const char *lower[] = { "MaskEdit9", "MaskEdit10", "MaskEdit11" };
    const QString bands[]
        = { QStringLiteral("ДМВ:"), QStringLiteral("МВ:"), QStringLiteral("ГМВ:") };
    for (int row = 0; row < 3; ++row) {
        thresholds->addWidget(label(this, bands[row]), row + 2, 0);
        thresholds->addWidget(edit(upper[row]), row + 2, 1);
        thresholds->addWidget(edit(lower[row]), row + 2, 2);
    }

    auto *sensitivity = new QGridLayout;
    sensitivity->addWidget(
        label(this, QStringLiteral("Параметры чувствительности"), true), 0, 0, 1, 3);
    sensitivity->addWidget(send.value(ChangedGroups::Sensitivity), 0, 3);
    sensitivity->addWidget(label(this, QStringLiteral("Ослабление:")), 1, 1);
    sensitivity->addWidget(label(this, QStringLiteral("Резерв:")), 1, 2);
    sensitivity->addWidget(label(this, bands[1]), 2, 0);
    sensitivity->addWidget(edit("MaskEdit7"), 2, 1);
    sensitivity->addWidget(edit("MaskEdit6"), 2, 2);
    sensitivity->addWidget(decodeReserve, 2, 3);
    sensitivity->addWidget(label(this, bands[2]), 3, 0);
    sensitivity->addWidget(edit("MaskEdit8"), 3, 1);
    sensitivity->setRowStretch(4, 1);

    auto *middle = new QHBoxLayout;
    middle->addLayout(thresholds);
    middle->addSpacing(24);
    middle->addLayout(sensitivity);
    middle->addStretch();

    auto *channels = new QGridLayout;
    channels->addWidget(label(this, QStringLiteral("Номера частот каналов МВ:"), true), 0, 0, 1, 4);
    for (int group = 1; group <= 3; ++group) {
        const QString n = QString::number(group);
        const QString receive = group == 1 ? QStringLiteral(" ПРМ МВ%1: ").arg(n)
                                           : QStringLiteral("ПРМ МВ%1: ").arg(n);
        channels->addWidget(label(this, receive), group, 0);
        channels->addWidget(
            edit(qPrintable(QStringLiteral("MvEdit%1").arg(2 * group - 2))), group, 1);
        channels->addWidget(label(this, QStringLiteral("ПРД МВ%1: ").arg(n)), group, 2);
        channels->addWidget(
            edit(qPrintable(QStringLiteral("MvEdit%1").arg(2 * group - 1))), group, 3);
        channels->addWidget(send.value(group + 1), group, 4);
    }
    channels->setColumnStretch(5, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(sendAll);
    bottom->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(middle);
    layout->addSpacing(8);
    layout->addLayout(channels);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->activate();
    setFixedSize(sizeHint());

    QList<QWidget *> order { mehanik };
    for (const ParameterEdit &info : ParameterEdits()) {
        order.append(edit(info.name));
    }
    order << sendAll << decodeWord << version << decodeReserve;
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QLineEdit *TFParam::edit(const char *name) const
{
    return m_edits.value(QLatin1String(name));
}

quint16 TFParam::changedGroups() const
{
    return m_sender->changes().word();
}

EditTexts TFParam::texts() const
{
    EditTexts texts;
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it) {
        texts.insert(it.key(), it.value()->text());
    }
    return texts;
}

void TFParam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        Q_EMIT opened();
    }
}

void TFParam::done(int result)
{
    if (!isVisible()) {
        return; // already closed: the closing work runs once per opening
    }
    FormClose();
    QDialog::done(result);
    Q_EMIT closed();
}

void TFParam::FormShow()
{
    const EditTexts texts = TextsFromParameters(m_context.station.params);
    m_serviceWord = ServiceWordTyped(texts.value(QStringLiteral("MaskEdit2")));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        m_edits.value(it.key())->setText(it.value());
    }
    // Filling marked the groups whose texts changed; nothing was edited yet.
    m_sender->changes().clearAll();
}

void TFParam::FormClose()
{
    Q_EMIT accessItemsAllowed(m_sender->Close(texts()));
}

void TFParam::MaskEdit2Change(QLineEdit *edit, const ParameterEdit &info)
{
    const QString kept = info.digits(edit->text());
    if (info.group == ChangedGroups::ServiceWord) {
        const QString refusal = ServiceWordRangeRefusal(m_serviceWord, kept);
        if (!refusal.isEmpty()) {
            const QSignalBlocker blocker(edit);
            const int cursor = edit->cursorPosition() - int(kept.size() - m_serviceWord.size());
            edit->setText(m_serviceWord);
            edit->setCursorPosition(cursor);
            m_context.messages.showError(refusal);
            return;
        }
        m_serviceWord = kept;
    }
    m_sender->changes().mark(info.group);
    if (kept != edit->text()) {
        const int cursor = edit->cursorPosition();
        edit->setText(kept); // runs this handler once more, which finds nothing to change
        edit->setCursorPosition(cursor);
    }
}

void TFParam::SpeedButton1Click(int group)
{
    m_sender->Send(group, texts());
}

void TFParam::BitBtn2Click()
{
    StationParameters &params = m_context.station.params;
    QLineEdit *word = edit("MaskEdit2");
    params.ToolWord = ServiceWordFromEdit(word->text());
    m_serviceWordDialog->fill(DecodeServiceWord(params.ToolWord), params.MvSensitivityCheckAllowed);
    if (m_serviceWordDialog->exec() != QDialog::Accepted) {
        return;
    }
    params.ToolWord = EncodeServiceWord(params.ToolWord, m_serviceWordDialog->settings());
    params.MvSensitivityCheckAllowed = m_serviceWordDialog->mvSensitivityCheckAllowed();
    Q_EMIT sensitivityCheckChanged();
    m_serviceWord = ServiceWordTyped(params.ToolWord); // the dialog's choice, not typing
    word->setText(params.ToolWord);
}

void TFParam::BitBtn3Click()
{
    StationParameters &params = m_context.station.params;
    QLineEdit *reserve = edit("MaskEdit6");
    params.reserv = FittedToWidth(reserve->text(), 2);
    m_reserveDialog->fill(DecodeReserve(params.reserv));
    if (m_reserveDialog->exec() == QDialog::Accepted) {
        params.reserv = EncodeReserve(params.reserv, m_reserveDialog->settings());
    }
    reserve->setText(params.reserv);
}
