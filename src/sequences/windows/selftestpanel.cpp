#include "sequences/windows/selftestpanel.h"

#include "widgets/gauges.h"
#include "widgets/panelparts.h"
#include "widgets/resultlinesview.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace

SelfTestPanel::SelfTestPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel4"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    Label24 = label(
        this, "Label24", QStringLiteral("Тест ТЕЛВ : результаты тестирования"), 2, 2, 276, 20);
    StyleAsPanelHeader(Label24);
    QFont bold = font();
    bold.setBold(true);

    LSoob1 = label(this, "LSoob1", QStringLiteral("Результат теста:"), 8, 28, 100, 18);
    LTest1 = label(this, "LTest1", QString(), 110, 28, 80, 18);
    LTest1->setFont(bold);
    Gauge2 = new PieGauge(this);
    Gauge2->setObjectName(QStringLiteral("Gauge2"));
    Gauge2->setGeometry(222, 24, 50, 50);
    Gauge2->setMaximum(20);

    LResult = label(this, "LResult", QString(), 8, 50, 210, 20);
    LResult->setFont(bold);

    RichEdit1 = new ResultLinesView(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(6, 78, 268, 120);

    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(97, 204, 86, 26);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(2, 234, 276, 20);
    StatusBar1->setSizeGripEnabled(false);
    setWaiting(true);
}

void SelfTestPanel::showWaiting(const QString &startStamp, int limitSeconds)
{
    LResult->clear();
    setWaiting(true);
    StatusBar1->showMessage(QStringLiteral("Начат ") + startStamp);
    Gauge2->setMaximum(limitSeconds);
    Gauge2->setPosition(0);
    RichEdit1->setLines({});
    LTest1->clear();
}

void SelfTestPanel::showElapsed(int seconds)
{
    Gauge2->setPosition(seconds);
}

void SelfTestPanel::showVerdict(
    const QString &code, const QString &verdict, bool fault, const ResultLines &lines)
{
    ShowVerdict(LResult, verdict, fault);
    if (!code.isEmpty()) {
        LTest1->setText(code);
    }
    RichEdit1->setLines(lines);
}

void SelfTestPanel::showEnded()
{
    setWaiting(false);
    Gauge2->setPosition(Gauge2->maximum());
}

void SelfTestPanel::setWaiting(bool waiting)
{
    SetWaitButton(BitBtn3, waiting);
}
