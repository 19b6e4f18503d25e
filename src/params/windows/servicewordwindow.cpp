#include "params/windows/servicewordwindow.h"

#include "widgets/appearance.h"
#include "widgets/okcancelrow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct ListControl
{
    const char *name;
    bool onTestPanel; // the three lists of test 3 stand together at the top
};

// Lists of positions 4..8, in position order.
constexpr ListControl Lists[ServiceWordSettings::Lists] = {
    { "ComboBox1", true },
    { "ComboBox2", true },
    { "ComboBox3", true },
    { "ComboBox5", false },
    { "ComboBox6", false },
};

struct BitControl
{
    const char *name;
    const char *caption;
    int position;
    int bit;
};

constexpr BitControl Bits[] = {
    { "CheckBox7", "Включение проверки ЛМК-3:", 3, 0x1 },
    { "CheckBox8", "Самотест через час:", 3, 0x2 },
    { "CheckBox1", "Проверка НЧ  :", 1, 0x1 },
    { "CheckBox5", "Прием 1000 Гц:", 1, 0x2 },
    { "CheckBox6", "Проверка ЗКВ-6", 1, 0x4 },
    { "CheckBox2", "Блокировка ДМВ", 2, 0x1 },
    { "CheckBox3", "Блокировка МВ", 2, 0x2 },
    { "CheckBox4", "Блокировка ГМВ", 2, 0x4 },
};

// A check box with its caption on the left of the box.
QCheckBox *captionLeftBox(QWidget *parent, const char *name, const char *caption)
{
    auto *box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QLatin1String(name));
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QComboBox *digitList(QWidget *parent, const ListControl &control, int position)
{
    auto *list = new QComboBox(parent); // not editable: a drop-down list without typing
    list->setObjectName(QLatin1String(control.name));
    for (int digit = 1; digit <= ServiceWordListDigits(position); ++digit) {
        list->addItem(QString::number(digit));
    }
    if (ServiceWordListSize(position) > ServiceWordListDigits(position)) {
        list->addItem(QString());
    }
    return list;
}

} // namespace

TFSS::TFSS(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FSS"));
    setWindowTitle(QStringLiteral("Состояние служебного слова"));
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *testPanel = new QFrame(this);
    testPanel->setObjectName(QStringLiteral("Panel1"));
    testPanel->setFrameShape(QFrame::StyledPanel);
    auto *testGrid = new QGridLayout(testPanel);
    auto *standbyGrid = new QGridLayout;
    for (int i = 0; i < ServiceWordSettings::Lists; ++i) {
        const ListControl &control = Lists[i];
        QWidget *owner = control.onTestPanel ? testPanel : static_cast<QWidget *>(this);
        QGridLayout *grid = control.onTestPanel ? testGrid : standbyGrid;
        const int position = ServiceWordSettings::FirstListPosition + i;
        QComboBox *list = digitList(owner, control, position);
        auto *label = new QLabel(ServiceWordListCaption(position), owner);
        label->setBuddy(list);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(list, row, 1);
        m_lists[static_cast<std::size_t>(i)] = list;
    }

    auto *boxes = new QVBoxLayout;
    for (const BitControl &control : Bits) {
        QCheckBox *box = captionLeftBox(this, control.name, control.caption);
        boxes->addWidget(box, 0, Qt::AlignLeft);
        m_bitBoxes.push_back({ box, control.position, control.bit });
    }
    m_mvSensitivity = captionLeftBox(this, "CheckBox9", "Разрешение проверки чувствительности МВ:");
    boxes->addWidget(m_mvSensitivity, 0, Qt::AlignLeft);

    QHBoxLayout *buttons = OkCancelRow(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(testPanel);
    layout->addLayout(standbyGrid);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    layout->activate();
    setFixedSize(sizeHint().expandedTo(QSize(WidthForTitle(*this), 0)));
}

void TFSS::fill(const ServiceWordSettings &settings, bool mvSensitivityCheckAllowed)
{
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        m_lists[i]->setCurrentIndex(settings.entries[i]);
    }
    for (const BitBox &b : m_bitBoxes) {
        b.box->setChecked(settings.bits[static_cast<std::size_t>(b.position - 1)] & b.bit);
    }
    m_mvSensitivity->setChecked(mvSensitivityCheckAllowed);
}

ServiceWordSettings TFSS::settings() const
{
    ServiceWordSettings settings;
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        settings.entries[i] = m_lists[i]->currentIndex();
    }
    for (const BitBox &b : m_bitBoxes) {
        if (b.box->isChecked()) {
            settings.bits[static_cast<std::size_t>(b.position - 1)] |= b.bit;
        }
    }
    return settings;
}

bool TFSS::mvSensitivityCheckAllowed() const
{
    return m_mvSensitivity->isChecked();
}
