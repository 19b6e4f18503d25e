#include "stats/locomotivehistory.h"

#include "records/databasetable.h"
#include "records/fieldvalues.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"

#include <QDateTime>

namespace {

QDate storedDate(const QVariant &value)
{
    return QDate::fromString(value.toString(), QLatin1StringView(StoredDateFormat));
}

QTime storedTime(const QVariant &value)
{
    return QTime::fromString(value.toString(), QLatin1StringView(StoredTimeFormat));
}

bool select(DatabaseTable &table, const QString &sql, const QString &locomotive,
    QList<QVariantList> *rows, QString *error)
{
    QStringList columns;
    if (!table.select(sql, { locomotive }, &columns, rows)) {
        *error = table.errorText();
        return false;
    }
    return true;
}

QString dateText(const QDate &date, const QTime &time)
{
    if (!date.isValid()) {
        return {};
    }
    return date.toString(QStringLiteral("dd.MM.yyyy"))
        + (time.isValid() ? time.toString(QStringLiteral(" HH:mm")) : QString());
}

QString cell(const QString &text, const char *style = nullptr)
{
    return QStringLiteral("<td%1>%2</td>")
        .arg(style ? QStringLiteral(" style=\"%1\"").arg(QLatin1String(style)) : QString(),
            text.toHtmlEscaped());
}

} // namespace

bool ReadTestHistory(
    DatabaseTable &radioTests, const QString &locomotive, LocomotiveHistory *history, QString *error)
{
    history->locomotive = locomotive;
    history->tests.clear();
    QList<QVariantList> rows;
    if (!select(radioTests,
            QStringLiteral("SELECT \"Date\", \"Time\", \"Event\", \"ResultWord\", \"ResultCod\" FROM ")
                + QuotedIdentifier(radioTests.schema().tableName)
                + QStringLiteral(" WHERE \"Loko\" = ? ORDER BY \"Date\", \"Time\""),
            locomotive, &rows, error)) {
        return false;
    }
    for (const QVariantList &row : std::as_const(rows)) {
        HistoryTest test { storedDate(row.value(0)), storedTime(row.value(1)), row.value(2).toString(),
            row.value(3).toString(), row.value(4).toString(), {} };
        for (const ResultLine &line : ShowRadioTestCode(
                 RecordedTestNumber(test.event), test.code, RecordedServiceWord(test.event))) {
            if (line.colour == FaultColour) {
                test.faults.append(line.text.trimmed());
            }
        }
        history->tests.append(std::move(test));
    }
    return true;
}

bool ReadBlockHistory(
    DatabaseTable &blockNumbers, const QString &locomotive, LocomotiveHistory *history, QString *error)
{
    history->locomotive = locomotive;
    history->blocks.clear();
    QList<QVariantList> rows;
    if (!select(blockNumbers,
            QStringLiteral("SELECT \"Block1\", \"Block2\", \"Block3\", \"Block4\", \"Block5\", "
                           "\"Block6\", \"Block7\", \"Block8\", \"d\", \"t\", \"LastD\", \"LastT\" FROM ")
                + QuotedIdentifier(blockNumbers.schema().tableName)
                + QStringLiteral(" WHERE \"Loko\" = ? ORDER BY \"d\", \"t\""),
            locomotive, &rows, error)) {
        return false;
    }
    for (const QVariantList &row : std::as_const(rows)) {
        HistoryBlocks blocks;
        for (int i = 0; i < 8; ++i) {
            blocks.blocks.append(row.value(i).toString());
        }
        blocks.entered = storedDate(row.value(8));
        blocks.enteredTime = storedTime(row.value(9));
        blocks.confirmed = storedDate(row.value(10));
        blocks.confirmedTime = storedTime(row.value(11));
        history->blocks.append(std::move(blocks));
    }
    return true;
}

QString LocomotiveHistoryHtml(const LocomotiveHistory &history, const QDateTime &printed)
{
    QString html = QStringLiteral("<html><body style=\"font-family: Arial; font-size: 9pt\">"
                                  "<h3>История локомотива %1</h3><p>Распечатано %2</p>")
                       .arg(history.locomotive.toHtmlEscaped(),
                           printed.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    html += QStringLiteral("<p><b>Тесты: %1</b></p>").arg(history.tests.size());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">"
                           "<tr><th>Дата</th><th>Режим</th><th>Итог</th><th>Неисправности</th></tr>");
    for (const HistoryTest &test : history.tests) {
        html += QStringLiteral("<tr>") + cell(dateText(test.date, test.time)) + cell(test.event)
            + cell(test.verdict)
            + cell(test.faults.join(QStringLiteral("; ")), test.faults.isEmpty() ? nullptr : "color: red")
            + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p><b>Заводские номера блоков</b></p>"
                           "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>"
                           "<th>Внесены</th><th>Подтверждены</th>");
    for (int i = 1; i <= 8; ++i) {
        html += QStringLiteral("<th>Блок%1</th>").arg(i);
    }
    html += QStringLiteral("</tr>");
    for (const HistoryBlocks &blocks : history.blocks) {
        html += QStringLiteral("<tr>") + cell(dateText(blocks.entered, blocks.enteredTime))
            + cell(dateText(blocks.confirmed, blocks.confirmedTime));
        for (const QString &block : blocks.blocks) {
            html += cell(block);
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}
