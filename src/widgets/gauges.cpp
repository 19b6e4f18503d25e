#include "widgets/gauges.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

void Gauge::setPosition(int position)
{
    position = std::clamp(position, 0, m_maximum);
    if (position != m_position) {
        m_position = position;
        update();
    }
}

void Gauge::setMaximum(int maximum)
{
    m_maximum = std::max(1, maximum);
    m_position = std::min(m_position, m_maximum);
    update();
}

double Gauge::fraction() const
{
    return static_cast<double>(m_position) / m_maximum;
}

void NeedleGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(r);

    // The needle turns about the middle of the bottom edge, from left (0) to right (max).
    const QPointF pivot(r.center().x(), r.bottom() - 2);
    const double length = std::min(r.width() / 2.0, r.height()) - 3;
    const double angle = std::numbers::pi * (1.0 - fraction());
    const QPointF tip(pivot.x() + length * std::cos(angle), pivot.y() - length * std::sin(angle));
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(pivot, tip);
}

void PieGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(r);
    p.setBrush(QColor(0, 0, 128));
    p.drawPie(r, 90 * 16, -static_cast<int>(std::lround(fraction() * 360 * 16)));

    p.setPen(fraction() > 0.5 ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("%1%").arg(std::lround(fraction() * 100)));
}

void RoundIndicator::setColor(const QColor &color)
{
    if (color != m_color) {
        m_color = color;
        update();
    }
}

void RoundIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
