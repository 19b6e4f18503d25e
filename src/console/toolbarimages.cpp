#include "console/toolbarimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Width = 40;
constexpr int Height = 16;

const QColor Ink(0, 0, 96);
const QColor Signal(0, 128, 0);
const QColor Alarm(192, 0, 0);

void drawCaption(QPainter &p, const QRect &area, const QString &text, const QColor &color)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(area, Qt::AlignCenter, text);
}

// An antenna mast with two radio waves: the radio station under test.
void drawAntenna(QPainter &p)
{
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(6, 3), QPointF(6, 14));
    p.drawLine(QPointF(3, 14), QPointF(9, 14));
    p.setPen(QPen(Signal, 1.2));
    p.drawArc(QRectF(1, 0, 10, 8), 30 * 16, 120 * 16);
    p.drawArc(QRectF(-2, -3, 16, 12), 40 * 16, 100 * 16);
}

// A bell with sound strokes: a call.
void drawBell(QPainter &p)
{
    QPainterPath bell;
    bell.moveTo(3, 12);
    bell.cubicTo(5, 11, 4, 3, 8, 3);
    bell.cubicTo(12, 3, 11, 11, 13, 12);
    bell.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(230, 180, 0));
    p.drawPath(bell);
    p.drawEllipse(QRectF(7, 12, 2, 2));
}

// A small table with a header row.
void drawTable(QPainter &p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 14, 11));
    p.fillRect(QRectF(2, 3, 13, 3), QColor(0, 0, 128));
    for (double y : { 8.5, 11.0 }) {
        p.drawLine(QPointF(2, y), QPointF(15, y));
    }
    p.drawLine(QPointF(7.5, 3), QPointF(7.5, 13));
}

// A circular arrow: start again.
void drawResetArrow(QPainter &p)
{
    p.setPen(QPen(Alarm, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 2, 12, 12), 60 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(11, 0.5);
    head.lineTo(15, 4);
    head.lineTo(10, 5.5);
    head.closeSubpath();
    p.setBrush(Alarm);
    p.setPen(Qt::NoPen);
    p.drawPath(head);
}

QPixmap draw(ToolbarImage::Index index)
{
    QPixmap pixmap(Width, Height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect text(16, 0, Width - 16, Height);
    using namespace ToolbarImage;
    switch (index) {
    case RadioTest1:
    case RadioTest2:
    case RadioTest3:
        drawAntenna(p);
        drawCaption(p, text, QStringLiteral("Т%1").arg(index - RadioTest1 + 1), Ink);
        break;
    case SelfTest:
        drawAntenna(p);
        drawCaption(p, text, QStringLiteral("СТ"), Ink);
        break;
    case Call1:
    case Call2:
        drawBell(p);
        drawCaption(p, text, QStringLiteral("В%1").arg(index - Call1 + 1), Ink);
        break;
    case Reset:
        drawResetArrow(p);
        drawCaption(p, text, QStringLiteral("Сбр"), Alarm);
        break;
    case SelfTestTable:
        drawTable(p);
        drawCaption(p, text, QStringLiteral("СТ"), Ink);
        break;
    case RadioTestTable:
        drawTable(p);
        drawCaption(p, text, QStringLiteral("РВ"), Ink);
        break;
    case Help:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 90, 200));
        p.drawEllipse(QRectF(12, 0.5, 15, 15));
        drawCaption(p, QRect(12, 0, 15, 16), QStringLiteral("?"), Qt::white);
        break;
    }
    return pixmap;
}

} // namespace

QIcon ToolbarImage::icon(Index index)
{
    // The toolbar takes the whole picture; menus, which show 16 x 16, take its glyph.
    const QPixmap picture = draw(index);
    QIcon icon(picture);
    icon.addPixmap(picture.copy(index == Help ? 12 : 0, 0, Height, Height));
    return icon;
}
