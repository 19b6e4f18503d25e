#include "widgets/rangedialogparts.h"

#include "link/ranges.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int ButtonWidth = 86;
constexpr int ButtonHeight = 26;
constexpr int ButtonGap = 8;

QPushButton *button(QDialog *dialog, const char *name, const QString &caption,
    QStyle::StandardPixmap icon, int x, int y)
{
    auto *b = new QPushButton(caption, dialog);
    b->setObjectName(QLatin1String(name));
    b->setIcon(dialog->style()->standardIcon(icon));
    b->setGeometry(x, y, ButtonWidth, ButtonHeight);
    return b;
}

} // namespace

QComboBox *AddRangeList(
    QDialog *dialog, int y, const QRect &listGeometry, const std::function<void(int)> &comboChange)
{
    auto *label = new QLabel(QStringLiteral("Диапазон:"), dialog);
    label->setObjectName(QStringLiteral("Label2"));
    label->setGeometry(12, y, 80, 22);
    auto *list = new QComboBox(dialog);
    list->setObjectName(QStringLiteral("ComboBox1"));
    for (int range = 0; range < SelectableRangeCount; ++range) {
        list->addItem(RangeName(range));
    }
    list->setGeometry(listGeometry);
    QObject::connect(list, &QComboBox::currentIndexChanged, dialog, [&comboChange](int index) {
        if (comboChange && index >= 0) {
            comboChange(index);
        }
    });
    return list;
}

OkCancelButtons AddOkCancelButtons(QDialog *dialog, int x, int y)
{
    OkCancelButtons buttons;
    buttons.ok = button(dialog, "BitBtn1", QStringLiteral("OK"), QStyle::SP_DialogOkButton, x, y);
    buttons.ok->setDefault(true);
    buttons.cancel = button(dialog, "BitBtn2", QStringLiteral("Отмена"),
        QStyle::SP_DialogCancelButton, x + ButtonWidth + ButtonGap, y);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}
