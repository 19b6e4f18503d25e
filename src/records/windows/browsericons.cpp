#include "records/windows/browsericons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Size = 16;

QPixmap blank()
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon ReportButtonIcon()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 14);
    p.setPen(QColor(0, 0, 160));
    for (int y = 4; y <= 12; y += 2) {
        p.drawLine(5, y, 11, y);
    }
    return QIcon(pixmap);
}

QIcon FilterButtonIcon()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath funnel;
    funnel.moveTo(1, 2);
    funnel.lineTo(15, 2);
    funnel.lineTo(9.5, 8.5);
    funnel.lineTo(9.5, 14);
    funnel.lineTo(6.5, 12.5);
    funnel.lineTo(6.5, 8.5);
    funnel.closeSubpath();
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(230, 190, 40));
    p.drawPath(funnel);
    return QIcon(pixmap);
}
