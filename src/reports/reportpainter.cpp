#include "reports/reportpainter.h"

#include "reports/reportfonts.h"
#include "reports/reportprepare.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr qreal FrameWidthMm = 0.2;

// Converts millimetres on the page to the painter's device pixels.
class MmToDevice
{
public:
    explicit MmToDevice(const QPaintDevice &device)
        : m_x(device.logicalDpiX() / 25.4)
        , m_y(device.logicalDpiY() / 25.4)
    { }

    QRectF rect(qreal x, qreal y, qreal w, qreal h) const
    {
        return QRectF(x * m_x, y * m_y, w * m_x, h * m_y);
    }
    QPointF point(qreal x, qreal y) const { return QPointF(x * m_x, y * m_y); }
    qreal width(qreal w) const { return w * m_x; }

private:
    qreal m_x;
    qreal m_y;
};

// What one band prints: the page's values, and the row of a detail band (or the
// page's first row for the other bands).
struct BandContext
{
    const PreparedReport &report;
    int pageIndex;
    qsizetype row;
    const ReportValues *detail; // null outside detail bands

    QString text(const ReportItem &item) const
    {
        switch (item.kind) {
        case ReportItem::Kind::Literal:
            return item.text;
        case ReportItem::Kind::Field:
            return report.fieldText(row, item.text);
        case ReportItem::Kind::Value:
            if (detail && detail->texts.contains(item.text)) {
                return detail->texts.value(item.text);
            }
            return report.page(pageIndex).values.texts.value(item.text);
        case ReportItem::Kind::PageNumber:
            return item.text + QString::number(pageIndex + 1);
        }
        return {};
    }

    ReportLines lines(const QString &name) const
    {
        if (detail && detail->lines.contains(name)) {
            return detail->lines.value(name);
        }
        return report.page(pageIndex).values.lines.value(name);
    }
};

void PaintFrames(QPainter &painter, const MmToDevice &mm, ReportSides sides, const QRectF &band)
{
    if (!sides) {
        return;
    }
    const QPointF topLeft = mm.point(band.left(), band.top());
    const QPointF topRight = mm.point(band.right(), band.top());
    const QPointF bottomLeft = mm.point(band.left(), band.bottom());
    const QPointF bottomRight = mm.point(band.right(), band.bottom());
    painter.setPen(QPen(Qt::black, mm.width(FrameWidthMm)));
    if (sides & ReportSide::Left) {
        painter.drawLine(topLeft, bottomLeft);
    }
    if (sides & ReportSide::Top) {
        painter.drawLine(topLeft, topRight);
    }
    if (sides & ReportSide::Right) {
        painter.drawLine(topRight, bottomRight);
    }
    if (sides & ReportSide::Bottom) {
        painter.drawLine(bottomLeft, bottomRight);
    }
}

void PaintItem(QPainter &painter, const MmToDevice &mm, const ReportItem &item, const QRectF &band,
    const QString &text)
{
    if (text.isEmpty()) {
        return;
    }
    const qreal x = band.left() + item.xMm;
    const qreal y = band.top() + item.yMm;
    const Qt::Alignment horizontal = item.alignment & Qt::AlignHorizontal_Mask;
    int flags = int(horizontal) | Qt::AlignTop | Qt::TextDontClip;
    qreal width = item.boxWidthMm;
    if (width > 0) {
        flags |= Qt::TextWordWrap;
    } else if (horizontal & (Qt::AlignHCenter | Qt::AlignRight)) {
        width = band.right() - x;
    }
    painter.setFont(ReportQFont(item.font));
    painter.setPen(Qt::black);
    painter.drawText(mm.rect(x, y, width, band.bottom() - y), flags, text);
}

void PaintBlock(QPainter &painter, const MmToDevice &mm, const ReportRichBlock &block,
    const QRectF &band, const ReportLines &lines)
{
    if (lines.isEmpty()) {
        return;
    }
    const QRectF area
        = mm.rect(band.left() + block.xMm, band.top() + block.yMm, block.widthMm, block.heightMm);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setFont(ReportQFont(block.font));
    const qreal lineHeight = painter.fontMetrics().height();
    constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    qreal y = area.top();
    for (const ReportLine &line : lines) {
        if (y >= area.bottom()) {
            break;
        }
        const QRectF rect(area.left(), y, area.width(), area.bottom() - y);
        painter.setPen(line.colour);
        QRectF used;
        painter.drawText(rect, flags, line.text, &used);
        y += line.text.isEmpty() ? lineHeight : qMax(used.height(), lineHeight);
    }
    painter.restore();
}

void PaintBand(QPainter &painter, const MmToDevice &mm, const ReportBand &band, qreal top,
    qreal width, const BandContext &context)
{
    const QRectF rect(0, top, width, band.heightMm);
    for (const ReportItem &item : band.items) {
        PaintItem(painter, mm, item, rect, context.text(item));
    }
    for (const ReportRichBlock &block : band.blocks) {
        PaintBlock(painter, mm, block, rect, context.lines(block.valueName));
    }
    PaintFrames(painter, mm, band.frames, rect);
}

} // namespace

void PaintReportPage(QPainter &painter, const PreparedReport &report, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= report.pageCount()) {
        return;
    }
    const ReportLayout &layout = report.layout();
    const PreparedReport::Page &page = report.page(pageIndex);
    const MmToDevice mm(*painter.device());
    const qreal width = layout.printableSizeMm().width();
    const BandContext pageContext { report, pageIndex, page.firstRow, nullptr };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    qreal top = 0;
    const auto paintFixed = [&](const std::optional<ReportBand> &band) {
        if (band) {
            PaintBand(painter, mm, *band, top, width, pageContext);
            top += band->heightMm;
        }
    };
    paintFixed(layout.pageHeader);
    if (pageIndex == 0) {
        paintFixed(layout.title);
    }
    paintFixed(layout.columnHeader);
    for (qsizetype row = page.firstRow; row < page.firstRow + page.rowCount; ++row) {
        const BandContext detail { report, pageIndex, row, &report.detailValues(row) };
        PaintBand(painter, mm, layout.detail, top, width, detail);
        top += layout.detail.heightMm;
    }
    painter.restore();
}

bool PaintReport(const PreparedReport &report, QPagedPaintDevice &device, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("Не удалось начать вывод отчёта на устройство печати.");
        return false;
    }
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            *error = QStringLiteral("Не удалось начать страницу %1 отчёта.").arg(i + 1);
            painter.end();
            return false;
        }
        PaintReportPage(painter, report, i);
    }
    if (!painter.end()) {
        *error = QStringLiteral("Не удалось завершить вывод отчёта.");
        return false;
    }
    return true;
}

bool WriteReportPdf(const PreparedReport &report, const QString &path, QString *error)
{
    if (!report.isReady()) {
        *error = QStringLiteral("Отчёт не подготовлен.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Не удалось создать файл %1: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.layout().name);
        writer.setCreator(QStringLiteral("ТЕЛВ-2"));
        writer.setPageLayout(report.layout().pageLayout());
        if (!PaintReport(report, writer, error)) {
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        *error = QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
