#include "reports/rvreport.h"

#include "reports/printstamp.h"

namespace TQRRV {

ReportLayout layout()
{
    ReportLayout report;
    report.name = QStringLiteral("Данные о локомотивных РС");
    report.orientation = QPageLayout::Portrait;
    report.marginsMm = { 20, 10, 10, 10 };

    ReportBand header { 10.6, {}, {}, {} };
    header.items = {
        // The stamp is wider than the 45 mm from x 135 to the band's edge: it ends
        // at the edge instead of in the margin.
        PrintStampItem(135, 2).aligned(Qt::AlignRight),
        ReportItem::pageNumber(4, QStringLiteral("Страница:")),
    };
    report.pageHeader = header;

    ReportBand title { 10.6, {}, {}, {} };
    ReportFont bold;
    bold.bold = true;
    title.items = {
        ReportItem::literal(0, 2, QStringLiteral("Данные о локомотивных РС"))
            .withFont(bold)
            .aligned(Qt::AlignHCenter),
    };
    report.title = title;

    ReportBand columns { 10.6, AllReportSides, {}, {} };
    columns.items = {
        ReportItem::literal(4, 2, QStringLiteral("Локомотив")),
        ReportItem::literal(49, 2, QStringLiteral("Ослабление МВ")),
        ReportItem::literal(96, 2, QStringLiteral("Ослабление ГМВ")),
    };
    report.columnHeader = columns;

    report.detail.heightMm = 9.3;
    report.detail.frames = ReportSides(ReportSide::Left) | ReportSide::Right | ReportSide::Bottom;
    report.detail.items = {
        ReportItem::field(4, 2, QStringLiteral("Lokomotiv")),
        ReportItem::field(55, 2, QStringLiteral("OslablenieM")),
        ReportItem::field(100, 2, QStringLiteral("OslablenieG")),
    };
    return report;
}

ReportHooks hooks(Clock &clock)
{
    ReportHooks hooks;
    hooks.startOfPage = StampEveryPage(clock);
    return hooks;
}

} // namespace TQRRV
