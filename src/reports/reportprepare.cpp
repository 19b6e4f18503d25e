#include "reports/reportprepare.h"

#include "reports/reportrows.h"

namespace {

// Layouts are given in tenths of millimetres; this keeps bands that fill a page
// exactly from being pushed onto the next one by rounding.
constexpr qreal FitToleranceMm = 1e-6;

// Progress is reported this often, which keeps a progress dialog cheap.
constexpr qsizetype ProgressStep = 100;

qreal HeightOf(const std::optional<ReportBand> &band)
{
    return band ? band->heightMm : 0;
}

QStringList MissingFields(const ReportLayout &layout, const QHash<QString, int> &fieldIndex)
{
    QStringList missing;
    const auto check = [&](const std::optional<ReportBand> &band) {
        if (!band) {
            return;
        }
        for (const ReportItem &item : band->items) {
            if (item.kind == ReportItem::Kind::Field && !fieldIndex.contains(item.text)
                && !missing.contains(item.text)) {
                missing.append(item.text);
            }
        }
    };
    check(layout.pageHeader);
    check(layout.title);
    check(layout.columnHeader);
    check(layout.detail);
    return missing;
}

} // namespace

QString ReportRow::value(const QString &fieldName) const
{
    const qsizetype i = fieldNames.indexOf(fieldName);
    return i < 0 ? QString() : values.value(i);
}

QString PreparedReport::fieldText(qsizetype row, const QString &fieldName) const
{
    if (row < 0 || row >= m_rows.size()) {
        return {};
    }
    const auto it = m_fieldIndex.constFind(fieldName);
    return it == m_fieldIndex.cend() ? QString() : m_rows.at(row).value(*it);
}

const ReportValues &PreparedReport::detailValues(qsizetype row) const
{
    static const ReportValues none;
    return row >= 0 && row < m_detailValues.size() ? m_detailValues.at(row) : none;
}

PreparedReport PrepareReport(
    const ReportLayout &layout, ReportRowSource &rows, const ReportHooks &hooks)
{
    PreparedReport report;
    report.m_layout = layout;
    const QStringList fieldNames = rows.fieldNames();
    for (int i = fieldNames.size() - 1; i >= 0; --i) { // of two equal names the first wins
        report.m_fieldIndex.insert(fieldNames.at(i), i);
    }
    const QStringList missing = MissingFields(layout, report.m_fieldIndex);
    if (!missing.isEmpty()) {
        report.m_error = QStringLiteral("В данных отчёта нет полей: %1").arg(missing.join(u", "));
        return report;
    }

    const qreal pageHeight = layout.printableSizeMm().height();
    const qreal detailHeight = layout.detail.heightMm;
    qreal used = 0;
    const auto startPage = [&] {
        const bool first = report.m_pages.isEmpty();
        PreparedReport::Page page;
        page.firstRow = report.m_rows.size();
        if (hooks.startOfPage) {
            hooks.startOfPage(int(report.m_pages.size()) + 1, page.values);
        }
        report.m_pages.append(std::move(page));
        used = HeightOf(layout.pageHeader) + (first ? HeightOf(layout.title) : 0)
            + HeightOf(layout.columnHeader);
    };

    const qsizetype expected = rows.expectedRows();
    startPage(); // a report over no rows still has its first page
    QStringList values;
    while (rows.next(values)) {
        PreparedReport::Page *page = &report.m_pages.last();
        // A band taller than a whole page still goes onto a page of its own.
        if (page->rowCount > 0 && used + detailHeight > pageHeight + FitToleranceMm) {
            startPage();
            page = &report.m_pages.last();
        }
        const qsizetype index = report.m_rows.size();
        report.m_rows.append(values);
        if (hooks.beforeDetail) {
            ReportValues detail;
            hooks.beforeDetail(ReportRow { fieldNames, report.m_rows.last(), index }, detail);
            if (!detail.isEmpty()) {
                report.m_detailValues.resize(index);
                report.m_detailValues.append(std::move(detail));
            }
        }
        ++page->rowCount;
        used += detailHeight;
        if (hooks.progress && report.m_rows.size() % ProgressStep == 0
            && !hooks.progress(report.m_rows.size(), expected)) {
            report.m_status = PreparedReport::Status::Cancelled;
            return report;
        }
    }
    if (const QString error = rows.errorString(); !error.isEmpty()) {
        report.m_error = error;
        return report;
    }
    if (hooks.progress && !hooks.progress(report.m_rows.size(), expected)) {
        report.m_status = PreparedReport::Status::Cancelled;
        return report;
    }
    report.m_status = PreparedReport::Status::Ready;
    return report;
}
