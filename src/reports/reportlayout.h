#pragma once

#include <QColor>
#include <QFlags>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

#include <optional>

// The description of a banded report: what is printed where, in millimetres.
// Reports are built from this description by PrepareReport (reportprepare.h) and
// painted by the functions of reportpainter.h.

struct ReportFont
{
    QString family = QStringLiteral("Arial");
    qreal pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    ReportFont sized(qreal points) const;
    ReportFont withBold() const;
    ReportFont withItalic() const;
    ReportFont withUnderline() const;
};

// A text printed inside a band. Its x and y are measured from the band's left and
// top edges to the top left corner of the text. The text is a literal, the value of
// a field of the row being printed, a value set by a hook, or the page number after
// a prefix.
struct ReportItem
{
    enum class Kind { Literal, Field, Value, PageNumber };

    Kind kind = Kind::Literal;
    QString text; // the literal, the field name, the value name or the page number's prefix
    qreal xMm = 0;
    qreal yMm = 0;
    ReportFont font;
    // Horizontal alignment within the box. A centred or right-aligned item without
    // a box width gets a box from x to the band's right edge.
    Qt::Alignment alignment = Qt::AlignLeft;
    // When above 0 the text is confined to a box this wide and its words wrap onto
    // further lines; otherwise it stands on one line.
    qreal boxWidthMm = 0;

    static ReportItem literal(qreal xMm, qreal yMm, const QString &text);
    static ReportItem field(qreal xMm, qreal yMm, const QString &fieldName);
    static ReportItem value(qreal xMm, qreal yMm, const QString &valueName);
    static ReportItem pageNumber(qreal yMm, const QString &prefix); // centred on the band

    ReportItem withFont(const ReportFont &f) const;
    ReportItem inBox(qreal widthMm) const;
    ReportItem aligned(Qt::Alignment a) const;
};

// One line of a rich text block with its own colour.
struct ReportLine
{
    QString text;
    QColor colour = Qt::black;

    friend bool operator==(const ReportLine &, const ReportLine &) = default;
};
using ReportLines = QList<ReportLine>;

// A block of coloured lines, set per row by the before-detail hook under a name.
// Lines wrap at the block's width; what does not fit its height is cut off.
struct ReportRichBlock
{
    QString valueName;
    qreal xMm = 0;
    qreal yMm = 0;
    qreal widthMm = 0;
    qreal heightMm = 0;
    ReportFont font;
};

enum class ReportSide { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8 };
Q_DECLARE_FLAGS(ReportSides, ReportSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReportSides)

inline constexpr ReportSides AllReportSides
    = ReportSides(ReportSide::Left) | ReportSide::Top | ReportSide::Right | ReportSide::Bottom;

struct ReportBand
{
    qreal heightMm = 0;
    ReportSides frames; // sides of the band framed by a thin line
    QList<ReportItem> items;
    QList<ReportRichBlock> blocks;
};

// An A4 report of one column. From the top of a page: the page header (every page),
// the title (first page only), the column header (every page) and as many detail
// bands, one per row, as fit above the bottom margin. There are no footers.
struct ReportLayout
{
    QString name; // shown as the preview's caption and offered as the PDF's file name
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm { 10, 10, 10, 10 }; // left, top, right, bottom
    std::optional<ReportBand> pageHeader;
    std::optional<ReportBand> title;
    std::optional<ReportBand> columnHeader;
    ReportBand detail;

    QPageLayout pageLayout() const;
    // Width and height of the page inside the margins.
    QSizeF printableSizeMm() const;
};
