#include "records/windows/selectdialog.h"

#include "shared/dateformats.h"
#include "widgets/help.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int HelpTopic = 8;

QFrame *panel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setGeometry(geometry);
    return frame;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    return l;
}

QDateEdit *picker(QWidget *parent, const char *name, QDate day, const QRect &geometry)
{
    auto *edit = new QDateEdit(day, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setGeometry(geometry);
    return edit;
}

QPushButton *button(
    QWidget *parent, const char *name, const QString &text, QStyle::StandardPixmap picture, int x)
{
    auto *b = new QPushButton(parent->style()->standardIcon(picture), text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 168, 90, 27);
    return b;
}

} // namespace

TFSelectDlg::TFSelectDlg(const QString &locoNumber, QWidget *parent, QDate today)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFSelectDlg"));
    setWindowTitle(QStringLiteral("Выбор записей"));
    setFixedSize(378, 206);
    Help::setTopic(this, HelpTopic);

    m_locoBox = new QCheckBox(QStringLiteral("По номеру локомотива"), this);
    m_locoBox->setObjectName(QStringLiteral("CheckBox1"));
    m_locoBox->setGeometry(12, 24, 150, 20);
    m_locoPanel = panel(this, "Panel1", { 168, 10, 200, 48 });
    label(m_locoPanel, "Label1", QStringLiteral("Номер локомотива:"), 8, 16);
    m_locoEdit = new QLineEdit(locoNumber, m_locoPanel);
    m_locoEdit->setObjectName(QStringLiteral("Edit1"));
    m_locoEdit->setGeometry(120, 12, 72, 22);

    m_dateBox = new QCheckBox(QStringLiteral("По дате"), this);
    m_dateBox->setObjectName(QStringLiteral("CheckBox2"));
    m_dateBox->setGeometry(12, 96, 150, 20);
    m_datePanel = panel(this, "Panel2", { 168, 68, 200, 84 });
    label(m_datePanel, "Label2", QStringLiteral("Даты с"), 8, 16);
    m_from = picker(m_datePanel, "DTP1", today, { 72, 12, 120, 24 });
    label(m_datePanel, "Label3", QStringLiteral("        по"), 8, 52);
    m_to = picker(m_datePanel, "DTP2", today, { 72, 48, 120, 24 });

    QPushButton *ok = button(this, "BitBtn1", QStringLiteral("OK"), QStyle::SP_DialogOkButton, 90);
    ok->setDefault(true);
    QPushButton *cancel
        = button(this, "BitBtn2", QStringLiteral("Отмена"), QStyle::SP_DialogCancelButton, 198);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_locoBox, &QCheckBox::toggled, this, &TFSelectDlg::updatePanels);
    connect(m_dateBox, &QCheckBox::toggled, this, &TFSelectDlg::updatePanels);
    updatePanels();
}

void TFSelectDlg::updatePanels()
{
    // A disabled panel greys its labels and edits, as a cleared criterion should look.
    m_locoPanel->setEnabled(m_locoBox->isChecked());
    m_datePanel->setEnabled(m_dateBox->isChecked());
}

void TFSelectDlg::setLocomotiveAvailable(bool available)
{
    if (!available) {
        m_locoBox->setChecked(false);
    }
    m_locoBox->setEnabled(available);
}

void TFSelectDlg::showEvent(QShowEvent *event)
{
    // The short date format may have changed since the last use.
    const QString format = ProgramShortDateFormat();
    m_from->setDisplayFormat(format);
    m_to->setDisplayFormat(format);
    QDialog::showEvent(event);
}

bool TFSelectDlg::locomotiveChosen() const
{
    return m_locoBox->isEnabled() && m_locoBox->isChecked();
}

QString TFSelectDlg::locomotiveText() const
{
    return m_locoEdit->text();
}

bool TFSelectDlg::daysChosen() const
{
    return m_dateBox->isChecked();
}

QDate TFSelectDlg::fromDay() const
{
    return m_from->date();
}

QDate TFSelectDlg::toDay() const
{
    return m_to->date();
}
