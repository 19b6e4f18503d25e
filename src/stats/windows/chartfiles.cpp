#include "stats/windows/chartfiles.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QDir>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

// The chart laid out afresh at a fixed size, whatever the size of its view (or
// whether it was ever shown), and drawn scaled into the target rectangle; then
// given back its own size.
void paintChart(QChartView &view, QPainter &painter, const QRectF &target)
{
    QChart *chart = view.chart();
    if (!chart || !chart->scene()) {
        return;
    }
    const QSizeF layoutSize(ChartLayoutWidth, ChartLayoutHeight);
    const QRectF own = chart->geometry();
    chart->setGeometry(QRectF(QPointF(0, 0), layoutSize));
    chart->layout()->activate();
    const QSizeF size = layoutSize.scaled(target.size(), Qt::KeepAspectRatio);
    const QRectF placed(target.topLeft() + QPointF((target.width() - size.width()) / 2, 0), size);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    chart->scene()->render(&painter, placed, QRectF(QPointF(0, 0), layoutSize));
    chart->setGeometry(own);
    chart->layout()->activate();
}

} // namespace

void PaintChartPage(QChartView &view, QPagedPaintDevice &device)
{
    QPainter painter(&device);
    const QRect page(QPoint(0, 0), QSize(device.width(), device.height()));
    paintChart(view, painter, page);
}

bool SaveChart(QChartView &view, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Не удается записать файл %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setResolution(150);
        pdf.setTitle(view.chart() ? view.chart()->title() : QString());
        PaintChartPage(view, pdf);
    } else {
        QImage image(ChartImageWidth, ChartImageHeight, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paintChart(view, painter, image.rect());
        }
        if (!image.save(&file, "PNG")) {
            file.cancelWriting();
        }
    }
    if (!file.commit()) {
        *error = QStringLiteral("Не удается записать файл %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}
