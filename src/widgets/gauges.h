#pragma once

#include <QColor>
#include <QWidget>

// A gauge with a position between 0 and a maximum, drawn by its subclass.
class Gauge : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    int position() const { return m_position; }
    int maximum() const { return m_maximum; }
    void setPosition(int position);
    void setMaximum(int maximum);

protected:
    double fraction() const;

private:
    int m_position = 0;
    int m_maximum = 100;
};

// A half-dial with a needle: yellow face, green needle, no text.
class NeedleGauge final : public Gauge
{
    Q_OBJECT
public:
    using Gauge::Gauge;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A pie that fills clockwise from the top, with the percentage in its middle.
class PieGauge final : public Gauge
{
    Q_OBJECT
public:
    using Gauge::Gauge;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A round lamp, white when off and green when on.
class RoundIndicator final : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::white;
};
