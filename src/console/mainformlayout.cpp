// The panels of the main window, laid out in pixels on a fixed-size client area.
#include "console/mainformcontrols.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "widgets/gauges.h"
#include "widgets/help.h"
#include "widgets/panelparts.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

namespace {

template<typename W> W *place(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QFrame *panel(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *frame = place<QFrame>(parent, name, x, y, w, h);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w = -1)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->adjustSize();
    l->move(x, y);
    if (w > 0) {
        l->resize(w, l->height());
    }
    return l;
}

QLineEdit *field(QWidget *parent, const char *name, int x, int y, int w)
{
    auto *edit = place<QLineEdit>(parent, name, x, y, w, 20);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

void buildStationPanel(QWidget *client, MainFormControls &c)
{
    QFrame *p = c.Panel1 = panel(client, "Panel1", 0, 32, 393, 101);
    // A display only: it shows the station and takes no input.
    p->setAttribute(Qt::WA_TransparentForMouseEvents);
    p->setFocusPolicy(Qt::NoFocus);

    c.Label7 = place<QLabel>(p, "Label7", 8, 6, 130, 20);
    c.Label7->setText(QStringLiteral("ТЕЛВ свободен"));
    c.Label7->setAlignment(Qt::AlignCenter);
    c.Label7->setFont(bold(c.Label7->font()));
    c.Label7->setAutoFillBackground(true);
    QPalette busy = c.Label7->palette();
    busy.setColor(QPalette::Window, Qt::black);
    busy.setColor(QPalette::WindowText, QColor(0, 255, 0));
    c.Label7->setPalette(busy);

    c.Gauge1 = place<NeedleGauge>(p, "Gauge1", 146, 4, 40, 24);

    c.Label1 = label(p, "Label1", QStringLiteral("Текущий диапазон: "), 196, 9);
    c.Edit1 = field(p, "Edit1", 310, 6, 74);

    c.CheckBox1 = place<QCheckBox>(p, "CheckBox1", 8, 30, 150, 18);
    c.CheckBox1->setText(QStringLiteral("КС в линии ДМВ:"));
    c.CheckBox1->setLayoutDirection(Qt::RightToLeft);
    c.CheckBox1->hide();

    c.Label17 = label(p, "Label17", QStringLiteral("Каналы дежурного приема  ТЕЛВ   МВ:"), 8, 42);
    c.Edit5 = field(p, "Edit5", 236, 39, 30);
    c.Label18 = label(p, "Label18", QStringLiteral("ГМВ:"), 280, 42);
    c.Edit6 = field(p, "Edit6", 312, 39, 30);
    c.Edit5->setText(QStringLiteral("0"));
    c.Edit6->setText(QStringLiteral("0"));

    c.Label3 = label(p, "Label3", QStringLiteral("Включение передачи:"), 8, 74);
    c.Label2 = label(p, "Label2", QStringLiteral("ДМВ: "), 146, 74);
    c.Shape1 = place<RoundIndicator>(p, "Shape1", 180, 74, 15, 15);
    c.Label4 = label(p, "Label4", QStringLiteral("МВ:"), 214, 74);
    c.Shape2 = place<RoundIndicator>(p, "Shape2", 240, 74, 15, 15);
    c.Label5 = label(p, "Label5", QStringLiteral("ГМВ:"), 278, 74);
    c.Shape3 = place<RoundIndicator>(p, "Shape3", 312, 74, 15, 15);
    for (QLineEdit *edit : { c.Edit1, c.Edit5, c.Edit6 }) {
        edit->setFocusPolicy(Qt::NoFocus);
    }
}

QPushButton *iconButton(QWidget *parent, const char *name, QStyle::StandardPixmap icon,
    const QString &hint, int x, int y)
{
    auto *button = place<QPushButton>(parent, name, x, y, 26, 22);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void buildMessagesPanel(QWidget *client, MainFormControls &c)
{
    QFrame *p = c.Panel2 = panel(client, "Panel2", 0, 136, 393, 257);
    c.Label6 = label(p, "Label6", QStringLiteral("Принимаемые сообщения:"), 8, 8);
    c.BitBtn1 = iconButton(
        p, "BitBtn1", QStyle::SP_DialogResetButton, QStringLiteral("Очистить таблицу"), 360, 3);

    c.StringGrid1 = place<QTableWidget>(p, "StringGrid1", 4, 28, 385, 225);
    c.StringGrid1->verticalHeader()->hide();
    c.StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    c.StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    c.StringGrid1->setShowGrid(true);
}

void buildMeasurementsPanel(QWidget *client, MainFormControls &c)
{
    QFrame *p = c.Panel3 = panel(client, "Panel3", 394, 32, 285, 101);
    c.Label8 = label(p, "Label8", QStringLiteral("Результаты измерений:"), 6, 5);
    c.Label8->setFont(bold(c.Label8->font()));
    c.Label8->adjustSize();
    c.BitBtn2 = iconButton(
        p, "BitBtn2", QStyle::SP_DialogResetButton, QStringLiteral("Очистить измерения"), 254, 2);

    c.Label9 = label(p, "Label9", QStringLiteral("Девиация:"), 6, 28);
    c.Label9->setToolTip(QStringLiteral("'Приведенная' девиация"));
    label(p, "Label10", QStringLiteral("ДМВ:"), 76, 28);
    c.ELevd = field(p, "ELevd", 106, 25, 32);
    label(p, "Label11", QStringLiteral("МВ:"), 146, 28);
    c.ELevm = field(p, "ELevm", 170, 25, 32);
    label(p, "Label12", QStringLiteral("ГМВ:"), 210, 28);
    c.ELevg = field(p, "ELevg", 242, 25, 32);

    c.Label13 = label(p, "Label13", QStringLiteral("Чувствительность :"), 6, 50);
    label(p, "Label14", QStringLiteral("МВ"), 160, 50);
    label(p, "Label26", QStringLiteral("ГМВ"), 224, 50);
    label(p, "Label15", QStringLiteral("Ослабление:"), 60, 66);
    c.Edit3 = field(p, "Edit3", 140, 63, 62);
    c.Edit2 = field(p, "Edit2", 210, 63, 62);
    label(p, "Label16", QStringLiteral("Итог:"), 60, 82);
    c.Edit4 = field(p, "Edit4", 140, 80, 62);
    c.Edit7 = field(p, "Edit7", 210, 80, 62);
    for (QLineEdit *edit : { c.Edit3, c.Edit4, c.Edit2, c.Edit7 }) {
        Help::setTopic(edit, 6);
        edit->resize(edit->width(), 18);
    }
}

QLabel *alarmLabel(QWidget *parent, const char *name, const QString &text, int y)
{
    QLabel *l = label(parent, name, text, 10, y);
    l->setFont(bold(l->font()));
    l->adjustSize();
    setTextColor(l, Qt::red);
    l->hide();
    return l;
}

void buildResultsPanel(QWidget *client, MainFormControls &c)
{
    QFrame *p = c.Panel6 = panel(client, "Panel6", 394, 136, 285, 257);
    Help::setTopic(p, 1);

    c.Label25 = place<QLabel>(p, "Label25", 2, 2, 281, 20);
    c.Label25->setText(QStringLiteral("Результаты тестирования"));
    StyleAsPanelHeader(c.Label25);

    c.LLIU = label(p, "LLIU", QStringLiteral("ЛИУ ГМВ:"), 10, 40);
    c.ELIU = field(p, "ELIU", 80, 37, 60);
    Help::setTopic(c.ELIU, 7);
    c.LLIU->hide();
    c.ELIU->hide();

    c.Gauge4 = place<PieGauge>(p, "Gauge4", 92, 40, 100, 100);
    c.Gauge4->hide();
    c.Label27 = label(p, "Label27", QString(), 10, 150, 265);
    c.Label27->hide();

    c.LBadSch_MW = alarmLabel(p, "LBadSch_MW", QStringLiteral("Авария СЧ МВ"), 176);
    c.LBadUM_MW = alarmLabel(p, "LBadUM_MW", QStringLiteral("Авария УМ МВ"), 196);
    c.LBadUM_GMW = alarmLabel(p, "LBadUM_GMW", QStringLiteral("Авария УМ ГМВ"), 216);

    c.BitBtn5 = place<QPushButton>(p, "BitBtn5", 190, 222, 85, 26);
    c.BitBtn5->setText(QStringLiteral("Отмена"));
    c.BitBtn5->setIcon(p->style()->standardIcon(QStyle::SP_DialogCancelButton));
    c.BitBtn5->hide();
}

void buildTestPanels(QWidget *client, MainFormControls &c)
{
    c.Panel4 = new SelfTestPanel(client);
    c.Panel4->setGeometry(402, 136, 280, 257);
    c.Panel4->hide();
    c.Panel5 = new RadioTestPanel(client);
    c.Panel5->setGeometry(402, 136, 280, 257);
    c.Panel5->hide();
}

} // namespace

void MainFormLayout::buildClientArea(QWidget *client, MainFormControls &c)
{
    client->setFixedSize(ClientWidth, ClientHeight);
    buildToolbar(client, c);
    buildStationPanel(client, c);
    buildMessagesPanel(client, c);
    buildMeasurementsPanel(client, c);
    buildResultsPanel(client, c);
    buildTestPanels(client, c);
}
