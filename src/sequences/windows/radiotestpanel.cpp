#include "sequences/windows/radiotestpanel.h"

#include "widgets/gauges.h"
#include "widgets/panelparts.h"
#include "widgets/resultlinesview.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {

QLabel *label(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace

RadioTestPanel::RadioTestPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel5"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    Label19 = label(this, "Label19", 2, 2, 276, 20);
    StyleAsPanelHeader(Label19);
    QFont bold = font();
    bold.setBold(true);

    Label22 = label(this, "Label22", 8, 26, 200, 16);
    Label23 = label(this, "Label23", 8, 42, 200, 16);
    Label21 = label(this, "Label21", 8, 60, 200, 16);
    Label20 = label(this, "Label20", 8, 78, 200, 18);
    Label20->setFont(bold);

    Gauge3 = new PieGauge(this);
    Gauge3->setObjectName(QStringLiteral("Gauge3"));
    Gauge3->setGeometry(222, 26, 50, 50);
    Gauge3->hide();

    RichEdit2 = new ResultLinesView(this);
    RichEdit2->setObjectName(QStringLiteral("RichEdit2"));
    RichEdit2->setGeometry(6, 100, 268, 100);

    BitBtn4 = new QPushButton(this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setGeometry(97, 204, 86, 26);

    StatusBar2 = new QStatusBar(this);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar2->setGeometry(2, 234, 276, 20);
    StatusBar2->setSizeGripEnabled(false);
    setWaiting(true);
}

void RadioTestPanel::showTest(
    const QString &header, const QString &trainLine, const QString &locoLine)
{
    Label19->setText(header);
    Label22->setText(trainLine);
    Label23->setText(locoLine);
}

void RadioTestPanel::clearResult()
{
    Label20->clear();
    Label21->setText(QStringLiteral("Результат теста:"));
}

void RadioTestPanel::showWaiting(const QString &startStamp, int limitSeconds)
{
    setWaiting(true);
    StatusBar2->showMessage(QStringLiteral("Начат ") + startStamp);
    Gauge3->setMaximum(limitSeconds);
    Gauge3->setPosition(0);
    Gauge3->show();
    RichEdit2->setLines({});
}

void RadioTestPanel::showElapsed(int seconds)
{
    Gauge3->setPosition(seconds);
}

void RadioTestPanel::showVerdict(
    const QString &code, const QString &verdict, bool fault, const ResultLines &lines)
{
    if (!code.isEmpty()) {
        Label21->setText(QStringLiteral("Результат теста: ") + code);
    }
    ShowVerdict(Label20, verdict, fault);
    RichEdit2->setLines(lines);
}

void RadioTestPanel::showEnded()
{
    setWaiting(false);
}

void RadioTestPanel::setWaiting(bool waiting)
{
    SetWaitButton(BitBtn4, waiting);
}
