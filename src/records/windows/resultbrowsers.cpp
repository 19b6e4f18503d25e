#include "records/windows/resultbrowsers.h"

namespace {

BrowserWindowSetup selfTestSetup()
{
    return {
        SelfTestBrowserDisplay(),
        QStringLiteral(" Результаты тестирования ТЕЛВ"),
        QSize(601, 359),
        QStringLiteral("Комментарии"),
        true,
        false,
        [](const StoredFieldText &field) {
            return ShowSelfTestCode(field(QStringLiteral("ResultCod")));
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
        [](const StoredFieldText &field) {
            const QString event = field(QStringLiteral("Event"));
            return ShowRadioTestCode(RecordedTestNumber(event), field(QStringLiteral("ResultCod")),
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
