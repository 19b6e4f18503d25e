#include "records/resultbrowsers.h"

namespace {

QString storedText(const PagedTableModel &model, int row, const char *field)
{
    return model.storedValue(row, QLatin1String(field)).toString();
}

BrowserWindowSetup selfTestSetup()
{
    return {
        SelfTestBrowserDisplay(),
        QStringLiteral(" Результаты тестирования ТЕЛВ"),
        QSize(601, 359),
        QStringLiteral("Комментарии"),
        true,
        false,
        [](const PagedTableModel &model, int row) {
            return ShowSelfTestCode(storedText(model, row, "ResultCod"));
        },
        [](Clock &clock, bool expanded) { return expanded ? TFReportR1(clock) : TFReport(clock); },
    };
}

BrowserWindowSetup radioTestSetup()
{
    return {
        RadioTestBrowserDisplay(),
        QStringLiteral("Результаты тестирования РВ"),
        QSize(557, 403),
        QStringLiteral("Комментарии :"),
        false,
        true,
        [](const PagedTableModel &model, int row) {
            const QString event = storedText(model, row, "Event");
            return ShowRadioTestCode(RecordedTestNumber(event), storedText(model, row, "ResultCod"),
                RecordedServiceWord(event));
        },
        [](Clock &clock, bool expanded) {
            return expanded ? TFReportR2(clock) : TFReport23(clock);
        },
    };
}

} // namespace

TFDB::TFDB(const BrowserServices &services, QWidget *parent)
    : ResultBrowserWindow(selfTestSetup(), services, parent)
{
    setObjectName(QStringLiteral("TFDB"));
}

TFDB23::TFDB23(const BrowserServices &services, QWidget *parent)
    : ResultBrowserWindow(radioTestSetup(), services, parent)
{
    setObjectName(QStringLiteral("TFDB23"));
}
