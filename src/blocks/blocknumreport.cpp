#include "blocks/blocknumreport.h"

#include "shared/dateformats.h"

namespace TfBlockNumRep {

namespace {

    constexpr qreal LokoX = 2;
    constexpr qreal DateX = 21.5; // clear of the heading "Локомотив"
    constexpr qreal TimeX = 40;
    constexpr qreal FirstBlockX = 58;
    constexpr qreal BlockStep = 27.3; // sixteen digits at 8 pt and a gap

    qreal blockX(int k)
    {
        return FirstBlockX + (k - 1) * BlockStep;
    }

} // namespace

QString headerLine(const QDateTime &printedAt)
{
    return QStringLiteral("Сведения о заводских номерах. Распечатано ")
        + ShortDateText(printedAt.date()) + u' '
        + printedAt.time().toString(WithSystemSeparators(QStringLiteral("hh:mm:ss")));
}

ReportLayout layout(const QString &headerLine)
{
    ReportLayout report;
    report.name = QStringLiteral("fBlockNumRep");
    report.orientation = QPageLayout::Landscape;
    report.marginsMm = { 10, 10, 10, 10 };

    ReportBand header;
    header.heightMm = 8;
    header.items = { ReportItem::literal(LokoX, 1, headerLine) };
    report.pageHeader = header;

    ReportBand title;
    title.heightMm = 11;
    title.frames = ReportSides(ReportSide::Bottom);
    title.items = {
        ReportItem::literal(LokoX, 1, QStringLiteral("Локомотив")),
        ReportItem::literal(DateX, 1, QStringLiteral("Дата")),
        ReportItem::literal(DateX, 5.5, QStringLiteral(" внесения")),
        ReportItem::literal(TimeX, 1, QStringLiteral("Время")),
        ReportItem::literal(TimeX, 5.5, QStringLiteral(" внесения")),
    };
    for (int k = 1; k <= 8; ++k) {
        title.items.append(ReportItem::literal(blockX(k), 1, QStringLiteral("Блок%1").arg(k)));
    }
    report.title = title;

    ReportFont small;
    small.pointSize = 8;
    report.detail.heightMm = 5;
    report.detail.items = {
        ReportItem::field(LokoX, 1, QStringLiteral("Loko")).withFont(small),
        ReportItem::field(DateX, 1, QStringLiteral("d")).withFont(small),
        ReportItem::field(TimeX, 1, QStringLiteral("t")).withFont(small),
    };
    for (int k = 1; k <= 8; ++k) {
        report.detail.items.append(
            ReportItem::field(blockX(k), 1, QStringLiteral("Block%1").arg(k)).withFont(small));
    }
    return report;
}

} // namespace TfBlockNumRep
