#include "reports/reportlayout.h"

#include <QPageSize>
#include <QRectF>

ReportFont ReportFont::sized(qreal points) const
{
    ReportFont f = *this;
    f.pointSize = points;
    return f;
}

ReportFont ReportFont::withBold() const
{
    ReportFont f = *this;
    f.bold = true;
    return f;
}

ReportFont ReportFont::withItalic() const
{
    ReportFont f = *this;
    f.italic = true;
    return f;
}

ReportFont ReportFont::withUnderline() const
{
    ReportFont f = *this;
    f.underline = true;
    return f;
}

static ReportItem MakeItem(ReportItem::Kind kind, qreal xMm, qreal yMm, const QString &text)
{
    ReportItem item;
    item.kind = kind;
    item.text = text;
    item.xMm = xMm;
    item.yMm = yMm;
    return item;
}

ReportItem ReportItem::literal(qreal xMm, qreal yMm, const QString &text)
{
    return MakeItem(Kind::Literal, xMm, yMm, text);
}

ReportItem ReportItem::field(qreal xMm, qreal yMm, const QString &fieldName)
{
    return MakeItem(Kind::Field, xMm, yMm, fieldName);
}

ReportItem ReportItem::value(qreal xMm, qreal yMm, const QString &valueName)
{
    return MakeItem(Kind::Value, xMm, yMm, valueName);
}

ReportItem ReportItem::pageNumber(qreal yMm, const QString &prefix)
{
    return MakeItem(Kind::PageNumber, 0, yMm, prefix).aligned(Qt::AlignHCenter);
}

ReportItem ReportItem::withFont(const ReportFont &f) const
{
    ReportItem item = *this;
    item.font = f;
    return item;
}

ReportItem ReportItem::inBox(qreal widthMm) const
{
    ReportItem item = *this;
    item.boxWidthMm = widthMm;
    return item;
}

ReportItem ReportItem::aligned(Qt::Alignment a) const
{
    ReportItem item = *this;
    item.alignment = a;
    return item;
}

QPageLayout ReportLayout::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, marginsMm, QPageLayout::Millimeter);
}

QSizeF ReportLayout::printableSizeMm() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).size();
}
