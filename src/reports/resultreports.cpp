#include "reports/resultreports.h"

#include "reports/printstamp.h"
#include "shared/resulttext.h"

#include <functional>
#include <utility>

namespace {

const ReportFont Regular;
const ReportFont Bold = ReportFont().withBold();
const ReportFont Italic = ReportFont().withItalic();
const ReportFont SmallItalic = Italic.sized(8);
const ReportFont Small = ReportFont().sized(8);
const ReportFont Underlined = ReportFont().withUnderline();

constexpr qreal TitleHeightMm = 10.6;
constexpr qreal ColumnHeaderHeightMm = 13.5;

ReportBand titleBand(const QString &title)
{
    ReportBand band;
    band.heightMm = TitleHeightMm;
    band.items = { ReportItem::literal(0, 2, title).aligned(Qt::AlignHCenter).withFont(Bold) };
    return band;
}

// A report whose every page carries the title and the print stamp at stampXMm.
ResultReport stampedReport(Clock &clock, const QString &title, QPageLayout::Orientation orientation,
    QMarginsF marginsMm, qreal stampXMm)
{
    ResultReport report;
    report.layout.name = title;
    report.layout.orientation = orientation;
    report.layout.marginsMm = marginsMm;
    report.layout.pageHeader = StampedPageHeader(stampXMm);
    report.layout.title = titleBand(title);
    report.hooks.startOfPage = StampEveryPage(clock);
    return report;
}

ReportItem caption(qreal x, qreal y, const QString &text, const ReportFont &font = Italic)
{
    return ReportItem::literal(x, y, text).withFont(font);
}

ReportItem field(qreal x, qreal y, const QString &name, const ReportFont &font = Regular)
{
    return ReportItem::field(x, y, name).withFont(font);
}

ReportBand columnHeader(QList<ReportItem> items)
{
    ReportBand band;
    band.heightMm = ColumnHeaderHeightMm;
    band.frames = AllReportSides;
    band.items = std::move(items);
    return band;
}

ReportBand compressedDetail(qreal heightMm, QList<ReportItem> items)
{
    ReportBand band;
    band.heightMm = heightMm;
    band.frames = ReportSides(ReportSide::Left) | ReportSide::Right | ReportSide::Bottom;
    band.items = std::move(items);
    return band;
}

ReportRichBlock resultBlock(qreal x, qreal y, qreal width, qreal height)
{
    ReportRichBlock block;
    block.valueName = QLatin1StringView(ResultLinesValueName);
    block.xMm = x;
    block.yMm = y;
    block.widthMm = width;
    block.heightMm = height;
    return block;
}

// Fills the expanded card's block with the result lines that linesOf decodes from
// the row.
std::function<void(const ReportRow &, ReportValues &)> printResultLines(
    std::function<ResultLines(const ReportRow &)> linesOf)
{
    return [linesOf = std::move(linesOf)](const ReportRow &row, ReportValues &detail) {
        const ResultLines lines = linesOf(row);
        ReportLines printed;
        printed.reserve(lines.size());
        for (const ResultLine &line : lines) {
            printed.append({ line.text, line.colour });
        }
        detail.lines.insert(QLatin1StringView(ResultLinesValueName), printed);
    };
}

// Underlined captions of the expanded cards.
ReportItem cardCaption(qreal x, qreal y, const QString &text)
{
    return caption(x, y, text, Underlined);
}

const QString SelfTestTitle = QStringLiteral("Результаты тестирования ТЕЛВ-2");

} // namespace

int RecordedTestNumber(const QString &event)
{
    const int digit = event.isEmpty() ? -1 : event.back().digitValue();
    return digit < 0 ? 0 : digit;
}

QString RecordedServiceWord(const QString &event)
{
    return event.contains(QStringLiteral("Тест")) ? QString() : QStringLiteral("070000");
}

ResultReport TFReport(Clock &clock)
{
    ResultReport report
        = stampedReport(clock, SelfTestTitle, QPageLayout::Landscape, { 10, 10, 23, 10 }, 214);
    report.layout.columnHeader = columnHeader({
        caption(2, 2, QStringLiteral("Дата, время")),
        caption(31, 2, QStringLiteral("Режим")),
        caption(47, 2, QStringLiteral("Механик")),
        caption(79, 2, QStringLiteral("Итог"), Italic.withBold()),
        caption(98, 1, QStringLiteral("   Код ошибки")).inBox(14),
        caption(115, 1, QStringLiteral("Служебное     слово")).inBox(19),
        caption(146, 2, QStringLiteral("Номера частот каналов МВ")),
        caption(140, 7, QStringLiteral("ПРМ-1"), SmallItalic),
        caption(151, 7, QStringLiteral("ПРД-1"), SmallItalic),
        caption(163, 7, QStringLiteral("ПРМ-2"), SmallItalic),
        caption(175, 7, QStringLiteral("ПРД-2"), SmallItalic),
        caption(186, 7, QStringLiteral("ПРМ-3"), SmallItalic),
        caption(198, 7, QStringLiteral("ПРД-3"), SmallItalic),
        caption(215, 1, QStringLiteral("Пороги девиации Д           М        Г"), SmallItalic)
            .inBox(24),
        caption(245, 1, QStringLiteral("Чувствит. ос.М ос.Г рез."), SmallItalic).inBox(21),
    });
    report.layout.detail = compressedDetail(11.1,
        {
            field(2, 2, QStringLiteral("Date")),
            field(17, 2, QStringLiteral("Time")),
            field(31, 2, QStringLiteral("Event")),
            field(47, 2, QStringLiteral("Mehanik")),
            field(78, 2, QStringLiteral("ResultWord"), Bold),
            field(96, 2, QStringLiteral("ResultCod")),
            field(117, 2, QStringLiteral("ToolWord")),
            field(139, 2, QStringLiteral("PrmMv1")),
            field(151, 2, QStringLiteral("PrdMv1")),
            field(163, 2, QStringLiteral("PrmMv2")),
            field(175, 2, QStringLiteral("PrdMv2")),
            field(187, 2, QStringLiteral("PrmMv3")),
            field(199, 2, QStringLiteral("PrdMv3")),
            field(212, 2, QStringLiteral("DeviacD"), Small),
            field(216, 2, QStringLiteral("Deviacd2"), Small),
            field(223, 2, QStringLiteral("DeviacM"), Small),
            field(228, 2, QStringLiteral("DeviacM2"), Small),
            field(233, 2, QStringLiteral("DeviacG"), Small),
            field(238, 2, QStringLiteral("DeviacG2"), Small),
            field(246, 2, QStringLiteral("Osl_mw"), Small),
            field(252, 2, QStringLiteral("osl_gmw"), Small),
            field(259, 2, QStringLiteral("reserv"), Small),
        });
    return report;
}

ResultReport TFReportR1(Clock &clock)
{
    ResultReport report
        = stampedReport(clock, SelfTestTitle, QPageLayout::Portrait, { 15, 10, 10, 10 }, 129);
    ReportBand &card = report.layout.detail;
    card.heightMm = 68.5;
    card.frames = AllReportSides;
    card.items = {
        cardCaption(13, 2, QStringLiteral("Дата, время:")),
        field(36, 2, QStringLiteral("Date")),
        field(51, 2, QStringLiteral("Time")),
        cardCaption(78, 2, QStringLiteral("Пороги девиации :")),
        caption(133, 2, QStringLiteral("Результат:"), Italic.withUnderline()),
        field(155, 2, QStringLiteral("ResultWord"), Bold),

        cardCaption(18, 8, QStringLiteral("Механик:")),
        field(35, 8, QStringLiteral("Mehanik")),
        cardCaption(76, 8, QStringLiteral("Верхний")),
        cardCaption(97, 8, QStringLiteral("Нижний")),

        cardCaption(21, 15, QStringLiteral("Режим:")),
        field(36, 15, QStringLiteral("Event")),
        cardCaption(70, 15, QStringLiteral("ДМВ:")),
        field(80, 15, QStringLiteral("DeviacD")),
        field(102, 15, QStringLiteral("Deviacd2")),

        cardCaption(8, 21, QStringLiteral("Код результата:")),
        field(36, 21, QStringLiteral("ResultCod")),
        cardCaption(72, 21, QStringLiteral("МВ:")),
        field(80, 21, QStringLiteral("DeviacM")),
        field(102, 21, QStringLiteral("DeviacM2")),

        cardCaption(4, 29, QStringLiteral("Служебное слово:")),
        field(36, 29, QStringLiteral("ToolWord")),
        cardCaption(70, 29, QStringLiteral("ГМВ:")),
        field(80, 29, QStringLiteral("DeviacG")),
        field(102, 29, QStringLiteral("DeviacG2")),

        cardCaption(4, 38, QStringLiteral("Номера частот каналов МВ:")),
        cardCaption(66, 38, QStringLiteral("Параметры чувствительности:")),
    };
    // A line per MV channel: its receive and transmit frequency numbers, and one of
    // the sensitivity parameters beside them.
    const std::pair<QString, QString> sensitivity[] = {
        { QStringLiteral("Ослабление МВ"), QStringLiteral("Osl_mw") },
        { QStringLiteral("Ослабление ГМВ"), QStringLiteral("osl_gmw") },
        { QStringLiteral("Резерв"), QStringLiteral("reserv") },
    };
    for (int channel = 1; channel <= 3; ++channel) {
        const qreal y = 36 + 8 * channel;
        const auto &[parameterCaption, parameterField] = sensitivity[channel - 1];
        card.items += QList<ReportItem> {
            caption(4, y, QStringLiteral("%1: ПРМ=").arg(channel), Regular),
            field(19, y, QStringLiteral("PrmMv%1").arg(channel)),
            caption(32, y, QStringLiteral("ПРД="), Regular),
            field(42, y, QStringLiteral("PrdMv%1").arg(channel)),
            cardCaption(68, y, parameterCaption),
            field(102, y, parameterField),
        };
    }
    // Down to the card's foot rather than 48 mm: thirteen lines of a healthy code need
    // about 55 mm, and a cut-off line would drop a tested unit from the printout.
    card.blocks = { resultBlock(127, 8, 57, 59.5) };
    report.hooks.beforeDetail = printResultLines([](const ReportRow &row) {
        return ShowSelfTestCode(row.value(QStringLiteral("ResultCod")));
    });
    return report;
}

ResultReport TFReport23(Clock &clock)
{
    ResultReport report
        = stampedReport(clock, QStringLiteral("Результаты тестирования локомотивных радиостанций "),
            QPageLayout::Landscape, { 10, 10, 25, 10 }, 214);
    report.layout.columnHeader = columnHeader({
        caption(2, 2, QStringLiteral("Дата")),
        caption(16, 2, QStringLiteral("Время")),
        caption(29, 2, QStringLiteral("Режим")),
        caption(44, 2, QStringLiteral("Направ- ление")).inBox(15),
        caption(64, 2, QStringLiteral("Механик")),
        caption(88.8, 2, QStringLiteral("Поезд")),
        caption(103, 2, QStringLiteral("Локомо-тив")).inBox(16),
        caption(124, 2, QStringLiteral("Итог"), Italic.withBold()),
        caption(139, 1, QStringLiteral("   Код ошибки")).inBox(14),
        caption(159, 1, QStringLiteral("Девиация Д   М   Г")).inBox(18),
        caption(180, 1, QStringLiteral("Чувствительность  ")),
        caption(181, 8, QStringLiteral("итог-М  осл-М"), SmallItalic),
        caption(202, 8, QStringLiteral(" итог-Г осл-Г "), SmallItalic),
        caption(228, 0, QStringLiteral("Прием сообщений")),
        caption(230, 5, QStringLiteral("ДМВ")),
        caption(241, 5, QStringLiteral("МВ")),
        caption(252, 5, QStringLiteral("ГМВ")),
    });
    report.layout.detail = compressedDetail(10.6,
        {
            field(2, 2, QStringLiteral("Date")),
            field(17, 2, QStringLiteral("Time")),
            field(30, 2, QStringLiteral("Event")),
            field(44, 2, QStringLiteral("Direction")),
            field(64, 2, QStringLiteral("Mehanik")),
            field(88.8, 2, QStringLiteral("Train")),
            field(103, 2, QStringLiteral("Loko")),
            field(124, 2, QStringLiteral("ResultWord"), Bold),
            field(139, 2, QStringLiteral("ResultCod")),
            field(158, 2, QStringLiteral("DeviacD")),
            field(165, 2, QStringLiteral("DeviacM")),
            field(172, 2, QStringLiteral("DeviacG")),
            field(181, 2, QStringLiteral("Sens_mw_itog"), Small),
            field(195, 2, QStringLiteral("Sens_mw_osl"), Small),
            field(203, 2, QStringLiteral("Sens_gmw_itog")),
            field(219, 2, QStringLiteral("Sens_gmw_osl")),
            field(228, 2, QStringLiteral("MesD")),
            field(239, 2, QStringLiteral("MesM")),
            field(251, 2, QStringLiteral("MesG")),
        });
    return report;
}

ResultReport TFReportR2(Clock &clock)
{
    ResultReport report
        = stampedReport(clock, QStringLiteral("Результаты тестирования локомотвных радиостанций "),
            QPageLayout::Portrait, { 15, 10, 10, 10 }, 121);
    ReportBand &card = report.layout.detail;
    card.heightMm = 53.7;
    card.frames = AllReportSides;
    card.items = {
        cardCaption(6, 4, QStringLiteral("Дата, время:")),
        field(30, 4, QStringLiteral("Date")),
        field(46, 4, QStringLiteral("Time")), // clear of the date's last digit
        cardCaption(60, 4, QStringLiteral("Девиация (Д,М,Г):")), // clear of DeviacD
        field(91, 4, QStringLiteral("DeviacD")),
        field(97, 4, QStringLiteral("DeviacM")),
        field(104, 4, QStringLiteral("DeviacG")),
        caption(129, 4, QStringLiteral("Результат:"), Italic.withUnderline()),
        field(150, 4, QStringLiteral("ResultWord"), Bold),

        cardCaption(12, 11, QStringLiteral("Механик:")),
        field(29, 11, QStringLiteral("Mehanik")),
        cardCaption(59, 11, QStringLiteral("Чувствительность: итог   ослабление")),

        cardCaption(14, 18, QStringLiteral("Режим :")),
        field(30, 18, QStringLiteral("Event")),
        cardCaption(76, 18, QStringLiteral("МВ")),
        field(91, 18, QStringLiteral("Sens_mw_itog")),
        field(108, 18, QStringLiteral("Sens_mw_osl")),

        cardCaption(4, 24, QStringLiteral("Направление :")),
        field(30, 24, QStringLiteral("Direction")),
        cardCaption(75, 24, QStringLiteral("ГМВ")),
        field(91, 24, QStringLiteral("Sens_gmw_itog")),
        field(108, 24, QStringLiteral("Sens_gmw_osl")),

        cardCaption(16, 31, QStringLiteral("Поезд:")),
        field(30, 31, QStringLiteral("Train")),
        cardCaption(61, 31, QStringLiteral("Сообщения ДМВ:")),
        field(91, 31, QStringLiteral("MesD")),

        cardCaption(9, 38, QStringLiteral("Локомотив:")),
        field(30, 38, QStringLiteral("Loko")),
        cardCaption(63, 38, QStringLiteral("Сообщения МВ:")),
        field(91, 38, QStringLiteral("MesM")),

        cardCaption(1, 44, QStringLiteral("Код результата:")),
        field(30, 44, QStringLiteral("ResultCod")),
        cardCaption(61, 46, QStringLiteral("Сообщения ГМВ:")),
        field(91, 46, QStringLiteral("MesG")),
    };
    card.blocks = { resultBlock(127, 11, 55, 40) };
    report.hooks.beforeDetail = printResultLines([](const ReportRow &row) {
        const QString event = row.value(QStringLiteral("Event"));
        return ShowRadioTestCode(RecordedTestNumber(event), row.value(QStringLiteral("ResultCod")),
            RecordedServiceWord(event));
    });
    return report;
}
