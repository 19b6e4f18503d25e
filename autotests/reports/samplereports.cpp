#include "samplereports.h"

namespace SampleReports {

namespace {

    const QString Title = QStringLiteral("Результаты тестирования ТЕЛВ-2");

    ReportBand PageHeader(qreal stampX)
    {
        ReportBand band;
        band.heightMm = PageHeaderMm;
        band.items = { ReportItem::pageNumber(2, QStringLiteral("Страница:")),
            ReportItem::value(stampX, 2, QStringLiteral("stamp")) };
        return band;
    }

    ReportBand TitleBand()
    {
        ReportBand band;
        band.heightMm = TitleMm;
        band.items = { ReportItem::literal(0, 2, Title)
                           .aligned(Qt::AlignHCenter)
                           .withFont(ReportFont().withBold()) };
        return band;
    }

} // namespace

QStringList SelfTestFields()
{
    return { "Date", "Time", "Event", "Mehanik", "ResultWord", "ResultCod", "ToolWord", "PrmMv1",
        "PrdMv1", "PrmMv2", "PrdMv2", "PrmMv3", "PrdMv3", "DeviacD", "Deviacd2", "DeviacM",
        "DeviacM2", "DeviacG", "DeviacG2", "Osl_mw", "osl_gmw", "reserv" };
}

QList<QStringList> SelfTestRows(int count)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int n = 1; n <= count; ++n) {
        const bool noAnswer = n % 7 == 0;
        const bool failed = noAnswer || n % 3 == 0;
        const QString code = noAnswer ? QStringLiteral("?")
            : failed                  ? QStringLiteral("00%1").arg(n % 100000, 5, 10, QChar(u'0'))
                                      : QStringLiteral("0000000");
        rows.append({ QStringLiteral("01.%1.26").arg(n % 12 + 1, 2, 10, QChar(u'0')),
            QStringLiteral("%1:%2")
                .arg(n / 60 % 24, 2, 10, QChar(u'0'))
                .arg(n % 60, 2, 10, QChar(u'0')),
            n % 2 ? QStringLiteral("Тест") : QStringLiteral("Запись"), QString::number(100 + n),
            failed ? QStringLiteral("Брак") : QStringLiteral("Норма"), code,
            QStringLiteral("01111111"), "101", "102", "203", "204", "305", "306", "40", "20", "41",
            "21", "42", "22", "05", "06", "A0" });
    }
    return rows;
}

ReportLayout SelfTestCompressed()
{
    const ReportFont italic = ReportFont().withItalic();
    const ReportFont small = ReportFont().sized(8);
    const ReportFont smallItalic = italic.sized(8);

    ReportLayout layout;
    layout.name = Title;
    layout.orientation = QPageLayout::Landscape;
    layout.marginsMm = QMarginsF(10, 10, 23, 10);
    layout.pageHeader = PageHeader(214);
    layout.title = TitleBand();

    ReportBand header;
    header.heightMm = ColumnHeaderMm;
    header.frames = AllReportSides;
    header.items = {
        ReportItem::literal(2, 2, "Дата, время").withFont(italic),
        ReportItem::literal(31, 2, "Режим").withFont(italic),
        ReportItem::literal(47, 2, "Механик").withFont(italic),
        ReportItem::literal(79, 2, "Итог").withFont(italic.withBold()),
        ReportItem::literal(98, 1, "   Код ошибки").withFont(italic).inBox(14),
        ReportItem::literal(115, 1, "Служебное     слово").withFont(italic).inBox(19),
        ReportItem::literal(146, 2, "Номера частот каналов МВ").withFont(italic),
        ReportItem::literal(140, 7, "ПРМ-1").withFont(smallItalic),
        ReportItem::literal(151, 7, "ПРД-1").withFont(smallItalic),
        ReportItem::literal(163, 7, "ПРМ-2").withFont(smallItalic),
        ReportItem::literal(175, 7, "ПРД-2").withFont(smallItalic),
        ReportItem::literal(186, 7, "ПРМ-3").withFont(smallItalic),
        ReportItem::literal(198, 7, "ПРД-3").withFont(smallItalic),
        ReportItem::literal(215, 1, "Пороги девиации Д           М        Г")
            .withFont(smallItalic)
            .inBox(24),
        ReportItem::literal(245, 1, "Чувствит. ос.М ос.Г рез.").withFont(smallItalic).inBox(21),
    };
    layout.columnHeader = header;

    layout.detail.heightMm = CompressedDetailMm;
    layout.detail.frames = ReportSides(ReportSide::Left) | ReportSide::Right | ReportSide::Bottom;
    layout.detail.items = {
        ReportItem::field(2, 2, "Date"),
        ReportItem::field(17, 2, "Time"),
        ReportItem::field(31, 2, "Event"),
        ReportItem::field(47, 2, "Mehanik"),
        ReportItem::field(78, 2, "ResultWord").withFont(ReportFont().withBold()),
        ReportItem::field(96, 2, "ResultCod"),
        ReportItem::field(117, 2, "ToolWord"),
        ReportItem::field(139, 2, "PrmMv1"),
        ReportItem::field(151, 2, "PrdMv1"),
        ReportItem::field(163, 2, "PrmMv2"),
        ReportItem::field(175, 2, "PrdMv2"),
        ReportItem::field(187, 2, "PrmMv3"),
        ReportItem::field(199, 2, "PrdMv3"),
        ReportItem::field(212, 2, "DeviacD").withFont(small),
        ReportItem::field(216, 2, "Deviacd2").withFont(small),
        ReportItem::field(223, 2, "DeviacM").withFont(small),
        ReportItem::field(228, 2, "DeviacM2").withFont(small),
        ReportItem::field(233, 2, "DeviacG").withFont(small),
        ReportItem::field(238, 2, "DeviacG2").withFont(small),
        ReportItem::field(246, 2, "Osl_mw").withFont(small),
        ReportItem::field(252, 2, "osl_gmw").withFont(small),
        ReportItem::field(259, 2, "reserv").withFont(small),
    };
    return layout;
}

ReportLayout SelfTestExpanded()
{
    const ReportFont underlined = ReportFont().withUnderline();
    const auto caption = [&](qreal x, qreal y, const QString &text) {
        return ReportItem::literal(x, y, text).withFont(underlined);
    };

    ReportLayout layout;
    layout.name = Title;
    layout.orientation = QPageLayout::Portrait;
    layout.marginsMm = QMarginsF(15, 10, 10, 10);
    layout.pageHeader = PageHeader(129);
    layout.title = TitleBand();

    layout.detail.heightMm = ExpandedDetailMm;
    layout.detail.frames = AllReportSides;
    layout.detail.items = {
        caption(13, 2, "Дата, время:"),
        ReportItem::field(36, 2, "Date"),
        ReportItem::field(51, 2, "Time"),
        caption(78, 2, "Пороги девиации :"),
        caption(133, 2, "Результат:").withFont(underlined.withItalic()),
        ReportItem::field(155, 2, "ResultWord").withFont(ReportFont().withBold()),
        caption(18, 8, "Механик:"),
        ReportItem::field(35, 8, "Mehanik"),
        caption(76, 8, "Верхний"),
        caption(97, 8, "Нижний"),
        caption(21, 15, "Режим:"),
        ReportItem::field(36, 15, "Event"),
        caption(70, 15, "ДМВ:"),
        ReportItem::field(80, 15, "DeviacD"),
        ReportItem::field(102, 15, "Deviacd2"),
        caption(8, 21, "Код результата:"),
        ReportItem::field(36, 21, "ResultCod"),
        caption(4, 29, "Служебное слово:"),
        ReportItem::field(36, 29, "ToolWord"),
        caption(4, 38, "Номера частот каналов МВ:"),
        ReportItem::literal(4, 44, "1: ПРМ="),
        ReportItem::field(19, 44, "PrmMv1"),
        ReportItem::literal(32, 44, "ПРД="),
        ReportItem::field(42, 44, "PrdMv1"),
    };
    ReportRichBlock block;
    block.valueName = QStringLiteral("result");
    block.xMm = 127;
    block.yMm = 8;
    block.widthMm = 57;
    block.heightMm = 48;
    layout.detail.blocks = { block };
    return layout;
}

QString PrintStamp(const QDateTime &when)
{
    return QStringLiteral("Распечатано ") + when.toString(QStringLiteral("dd/MM/yy в hh:mm"));
}

ReportLines ResultLines(const QString &resultCode)
{
    if (resultCode == u"?") {
        return { { QStringLiteral("Нет ответа"), Qt::red } };
    }
    if (resultCode.isEmpty()) {
        return {};
    }
    const bool fault = resultCode != u"0000000";
    return { { QStringLiteral("Блок питания: норма"), Qt::black },
        { fault ? QStringLiteral("Приёмник МВ: неисправен, код ") + resultCode
                : QStringLiteral("Приёмник МВ: норма"),
            fault ? QColor(Qt::red) : QColor(Qt::black) },
        { QStringLiteral("Передатчик ГМВ: норма"), Qt::black } };
}

ReportHooks SelfTestHooks(const QDateTime &printedAt)
{
    ReportHooks hooks;
    hooks.startOfPage = [printedAt](int, ReportValues &page) {
        page.texts.insert(QStringLiteral("stamp"), PrintStamp(printedAt));
    };
    hooks.beforeDetail = [](const ReportRow &row, ReportValues &detail) {
        detail.lines.insert(QStringLiteral("result"), ResultLines(row.value("ResultCod")));
    };
    return hooks;
}

} // namespace SampleReports
