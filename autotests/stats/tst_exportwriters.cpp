#include "resulttables.h"

#include "records/browserreportrows.h"
#include "records/resultbrowser.h"
#include "reports/resultreports.h"
#include "stats/browserexport.h"
#include "stats/exportwriters.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList Labels { QStringLiteral("Дата"), QStringLiteral("Время"),
    QStringLiteral("Локомотив"), QStringLiteral("Комментарии") };

// Row i of the large table: the day and time move on with i, every third field empty.
QVariantList LargeRow(int i)
{
    return { QDate(2024, 1, 1).addDays(i % 366), QTime(0, 0).addSecs(i % 86400),
        i % 3 == 0 ? QVariant() : QVariant(QStringLiteral("Локомотив №%1").arg(i)),
        QStringLiteral("Брак ДМВ; строка %1").arg(i) };
}

const QList<QVariantList> SmallRows {
    { QDate(2024, 2, 29), QTime(9, 5, 7, 250), QStringLiteral("0001234"),
        QStringLiteral("Норма ДМВ; Брак МВ") },
    { QVariant(), QVariant(), QString(), QStringLiteral("в \"кавычках\"\nи на двух строках") },
};

bool Write(ExportFormat format, const QString &path, const QList<QVariantList> &rows, int largeRows,
    QString *error)
{
    const auto writer = MakeExportWriter(format);
    bool ok = writer->begin(path, Labels);
    for (const QVariantList &row : rows) {
        ok = ok && writer->writeRow(row);
    }
    for (int i = 0; ok && i < largeRows; ++i) {
        ok = writer->writeRow(LargeRow(i));
    }
    ok = ok && writer->finish();
    *error = writer->errorText();
    return ok;
}

// The workbook as a spreadsheet program reads it, through openpyxl: the sheet's
// name, its number of rows, and the first and last rows as [kind, value] pairs.
QJsonObject ReadWorkbook(const QString &path)
{
    const char *script = R"(
import json, sys, datetime, openpyxl
book = openpyxl.load_workbook(sys.argv[1], read_only=True)
sheet = book.worksheets[0]
def cell(v):
    if v is None: return ['empty']
    if isinstance(v, datetime.datetime): return ['datetime', v.isoformat()]
    if isinstance(v, datetime.time): return ['time', v.isoformat()]
    if isinstance(v, str): return ['text', v]
    return ['number', v]
rows = [[cell(v) for v in row] for row in sheet.iter_rows(values_only=True)]
print(json.dumps({'sheet': sheet.title, 'rows': len(rows), 'first': rows[:3], 'last': rows[-1]}))
)";
    // The system's interpreter, which the Debian package of openpyxl serves.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3"))
        ? QStringLiteral("/usr/bin/python3")
        : QStringLiteral("python3");
    QProcess python;
    python.start(interpreter, { QStringLiteral("-c"), QString::fromUtf8(script), path });
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QJsonArray Cell(const QString &kind, const QJsonValue &value = {})
{
    return value.isNull() ? QJsonArray { kind } : QJsonArray { kind, value };
}

} // namespace

class TestExportWriters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvReadsBackWithCyrillicQuotesAndEmptyFields()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.csv");
        QString error;
        QVERIFY2(Write(ExportFormat::Csv, path, SmallRows, 10000, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(bytes.mid(3));
        QVERIFY(text.startsWith(QStringLiteral(
            "Дата;Время;Локомотив;Комментарии\r\n"
            "29.02.2024;09:05:07;0001234;Норма ДМВ; Брак МВ\r\n")
                                    .replace(QStringLiteral("Норма ДМВ; Брак МВ"),
                                        QStringLiteral("\"Норма ДМВ; Брак МВ\""))));
        QVERIFY(text.contains(
            QStringLiteral("\r\n;;;\"в \"\"кавычках\"\"\nи на двух строках\"\r\n")));
        // 1 + 2 + 10,000 rows, the last one as written.
        QCOMPARE(text.count(QStringLiteral("\r\n")), 10003);
        QVERIFY(text.endsWith(QStringLiteral(
            "27.04.2024;02:46:39;;\"Брак ДМВ; строка 9999\"\r\n")));
    }

    void xlsxReadsBackWithDatesTimesCyrillicAndEmptyCells()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.xlsx");
        QString error;
        QVERIFY2(Write(ExportFormat::Xlsx, path, SmallRows, 10000, &error), qPrintable(error));
        const QJsonObject book = ReadWorkbook(path);
        QVERIFY2(!book.isEmpty(), "python3 with openpyxl could not read the workbook");
        QCOMPARE(book["sheet"].toString(), QStringLiteral("Результаты"));
        QCOMPARE(book["rows"].toInt(), 10003);
        const QJsonArray first = book["first"].toArray();
        QCOMPARE(first.at(0).toArray(),
            (QJsonArray { Cell("text", "Дата"), Cell("text", "Время"), Cell("text", "Локомотив"),
                Cell("text", "Комментарии") }));
        QCOMPARE(first.at(1).toArray(),
            (QJsonArray { Cell("datetime", "2024-02-29T00:00:00"), Cell("time", "09:05:07.250000"),
                Cell("text", "0001234"), Cell("text", "Норма ДМВ; Брак МВ") }));
        QCOMPARE(first.at(2).toArray(),
            (QJsonArray { Cell("empty"), Cell("empty"), Cell("empty"),
                Cell("text", "в \"кавычках\"\nи на двух строках") }));
        QCOMPARE(book["last"].toArray(),
            (QJsonArray { Cell("datetime", "2024-04-27T00:00:00"), Cell("time", "02:46:39"),
                Cell("empty"), Cell("text", "Брак ДМВ; строка 9999") }));
    }

    void anUnfinishedOrFailedExportLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("csv") << int(ExportFormat::Csv);
        QTest::newRow("xlsx") << int(ExportFormat::Xlsx);
    }

    void anUnfinishedOrFailedExportLeavesTheFileAsItWas()
    {
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept");
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("the user's own file");
        kept.close();
        {
            const auto writer = MakeExportWriter(ExportFormat(format));
            QVERIFY(writer->begin(path, Labels));
            QVERIFY(writer->writeRow(LargeRow(1)));
            // destroyed unfinished, as when the operator cancels
        }
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the user's own file"));
        kept.close();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "kept" });

        QString error;
        QVERIFY(!Write(ExportFormat(format), dir.filePath("no such folder/out"), SmallRows, 0, &error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удается записать файл")), qPrintable(error));
    }

    // The rows a browser exports: its columns in grid order, stored dates and times
    // as cells of their own, the decoded result last; all rows, the filtered ones or
    // the chosen ones.
    void exportsABrowsersRowsWithTheDecodedResult()
    {
        using ResultTables::RadioTestRow;
        QTemporaryDir dir;
        QVERIFY(ResultTables::Append(dir.path(), Test23Schema(),
            { RadioTestRow(QDate(2024, 5, 1), "0000001", "Тест 2", "1000000"),
                RadioTestRow(QDate(2024, 5, 2), "0000002", "Тест 3", "000000A"),
                RadioTestRow(QDate(2024, 5, 3), "0000001", "Тест 2", "?") }));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        BrowserCriteria criteria;
        criteria.locomotive = QStringLiteral("0000001");
        QVERIFY(browser.setCriteria(criteria));
        const auto decode = [](const StoredFieldText &field) {
            return ShowRadioTestCode(RecordedTestNumber(field("Event")), field("ResultCod"),
                RecordedServiceWord(field("Event")));
        };
        const auto exported = [&](std::unique_ptr<BrowserReportRows> rows) {
            const QString path = dir.filePath("rows.csv");
            const auto writer = MakeExportWriter(ExportFormat::Csv);
            QString error;
            if (!ExportBrowserRows(*rows, RadioTestBrowserDisplay(), decode, *writer, path, {}, &error)) {
                return QStringList { error };
            }
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            return QString::fromUtf8(file.readAll().mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        };

        const QStringList all = exported(browser.reportRows(std::nullopt, false));
        QCOMPARE(all.size(), 4);
        QVERIFY(all.at(0).startsWith(QStringLiteral("Дата;Время;Режим;Направление;")));
        QVERIFY(all.at(0).endsWith(QStringLiteral(";Сообщения МВ;Сообщения ГМВ;Комментарии")));
        QVERIFY2(all.at(1).startsWith(QStringLiteral("01.05.2024;10:15:30;Тест 2;От ТЕЛВ;")),
            qPrintable(all.at(1)));
        QVERIFY(all.at(1).endsWith(QStringLiteral(
            ";\"Брак ДМВ; Норма МВ; Норма ГМВ; Девиация не измерялась ДМВ; Норма девиации МВ; "
            "Норма девиации ГМВ\"")));
        QVERIFY(all.at(2).endsWith(
            QStringLiteral(";\"Норма ДМВ; Норма МВ; Норма ГМВ; Код теста 1 р/с: A\"")));
        QVERIFY(all.at(3).endsWith(QStringLiteral(";Нет ответа")));

        const QStringList filtered = exported(browser.reportRows());
        QCOMPARE(filtered.size(), 3);
        QVERIFY(filtered.at(2).startsWith(QStringLiteral("03.05.2024;")));

        QList<qint64> firstOnly;
        QVERIFY(browser.rowIds({ { 0, 0 } }, &firstOnly));
        const QStringList selected = exported(browser.reportRows(firstOnly));
        QCOMPARE(selected.size(), 2);
        QVERIFY(selected.at(1).startsWith(QStringLiteral("01.05.2024;")));
    }
};

QTEST_GUILESS_MAIN(TestExportWriters)
#include "tst_exportwriters.moc"
