#include "records/browsercolumns.h"

#include "records/fieldvalues.h"
#include "shared/dateformats.h"

#include <QDate>
#include <QTime>

QString BrowserDisplay::text(const QString &field, const QVariant &stored) const
{
    const int index = schema.fieldIndex(field);
    return index < 0 ? stored.toString() : text(schema.fields.at(index), stored);
}

QString BrowserDisplay::text(const FieldDef &field, const QVariant &stored) const
{
    if (stored.isNull()) {
        return {};
    }
    switch (field.type) {
    case FieldType::Date: {
        const QDate date
            = QDate::fromString(stored.toString(), QLatin1StringView(StoredDateFormat));
        return date.isValid() ? date.toString(WithSystemSeparators(datePattern))
                              : stored.toString();
    }
    case FieldType::Time: {
        const QTime time
            = QTime::fromString(stored.toString(), QLatin1StringView(StoredTimeFormat));
        return time.isValid() ? time.toString(WithSystemSeparators(timePattern))
                              : stored.toString();
    }
    case FieldType::Text:
    case FieldType::ShortInteger:
        break;
    }
    return stored.toString();
}

const BrowserDisplay &SelfTestBrowserDisplay()
{
    static const BrowserDisplay display {
        Tests1Schema(),
        {
            { "Date", "Дата", 57 },
            { "Time", "Время", 46 },
            { "Event", "Режим" },
            { "Mehanik", "Механик" },
            { "ResultWord", "Результат", 61, true },
            { "ResultCod", "Код результата", 84 },
            { "ToolWord", "Служебное слово", 91 },
            { "PrmMv1", "ПРМ МВ1", 43 },
            { "PrdMv1", "ПРД МВ1", 41 },
            { "PrmMv2", "ПРМ МВ2", 43 },
            { "PrdMv2", "ПРД МВ2", 41 },
            { "PrmMv3", "ПРМ МВ3", 43 },
            { "PrdMv3", "ПРД МВ3", 41 },
            { "DeviacD", "Верхний порог девивции ДМВ", 46 },
            { "DeviacM", "Верхний порог девивции МВ", 47 },
            { "DeviacG", "Верхний порог девивции ГМВ", 46 },
            { "Deviacd2", "Нижий порог девивции ДМВ", 52 },
            { "DeviacM2", "Нижий порог девивции МВ", 53 },
            { "DeviacG2", "Нижий порог девивции ГМВ", 52 },
            { "Osl_mw", "Ослабление аттенюатора МВ", 41 },
            { "osl_gmw", "Ослабление аттенюатора ГМВ", 45 },
            { "reserv", "Резерв", 33 },
        },
        QStringLiteral("dd.MM.yy"),
        QStringLiteral("hh:mm"),
    };
    return display;
}

const BrowserDisplay &RadioTestBrowserDisplay()
{
    static const BrowserDisplay display {
        Test23Schema(),
        {
            { "Date", "Дата", 52 },
            { "Time", "Время", 49 },
            { "Event", "Режим" },
            { "Direction", "Направление" },
            { "Mehanik", "Механик" },
            { "Train", "Поезд" },
            { "Loko", "Локомотив" },
            { "ResultWord", "Итог" },
            { "ResultCod", "Код ошибки" },
            // The second letter of this title is a Latin e, as the table has always had it.
            { "DeviacD", "Дeвиация ДМВ" },
            { "DeviacM", "Девиация МВ" },
            { "DeviacG", "Девиация ГМВ" },
            { "Sens_mw_itog", "Чув. МВ - итог" },
            { "Sens_mw_osl", "Чув. МВ-ослабление" },
            { "Sens_gmw_itog", "Чув. ГМВ-итог " },
            { "Sens_gmw_osl", "Чув. ГМВ-ослабление" },
            { "MesD", "Сообщения ДМВ" },
            { "MesM", "Сообщения МВ" },
            { "MesG", "Сообщения ГМВ" },
        },
        QStringLiteral("dd/MM/yy"),
        QStringLiteral("hh:mm"),
    };
    return display;
}
