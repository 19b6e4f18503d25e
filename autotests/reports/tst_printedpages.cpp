#include "fakeclock.h"
#include "pdfpages.h"

#include "blocks/blocknumreport.h"
#include "blocks/factorynumbers.h"
#include "records/rvregister.h"
#include "records/tableschema.h"
#include "reports/reportpainter.h"
#include "reports/reportrows.h"
#include "reports/resultreports.h"
#include "reports/rvreport.h"

#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

constexpr qreal OverlapMm = 0.1;
// Less than a space of 8 pt type: words of one line closer than this read as one.
constexpr qreal LeastGapMm = 0.6;
constexpr qreal MarginToleranceMm = 0.3;
constexpr int Rows = 5;

const QDateTime PrintedAt(QDate(2026, 12, 28), QTime(23, 58, 59));

QStringList FieldNames(const TableSchema &schema)
{
    QStringList names;
    for (const FieldDef &field : schema.fields) {
        names.append(field.name);
    }
    return names;
}

// Rows of the fields as printed, each field with its widest likely text; fields
// not named stay empty.
QList<QStringList> WideRows(const QStringList &fields, const QHash<QString, QString> &values)
{
    QStringList row;
    for (const QString &field : fields) {
        row.append(values.value(field));
    }
    return QList<QStringList>(Rows, row);
}

const QHash<QString, QString> SelfTestValues {
    { "Date", "28.12.26" },
    { "Time", "23:58" },
    { "Event", "Запись" },
    { "Mehanik", "000000009316" },
    { "ResultWord", "Норма" },
    { "ResultCod", "0000000" },
    { "ToolWord", "01111111" },
    { "PrmMv1", "888" },
    { "PrdMv1", "888" },
    { "PrmMv2", "888" },
    { "PrdMv2", "888" },
    { "PrmMv3", "888" },
    { "PrdMv3", "888" },
    { "DeviacD", "88" },
    { "DeviacM", "88" },
    { "DeviacG", "88" },
    { "Deviacd2", "88" },
    { "DeviacM2", "88" },
    { "DeviacG2", "88" },
    { "Osl_mw", "88" },
    { "osl_gmw", "88" },
    { "reserv", "88" },
};

const QHash<QString, QString> RadioTestValues {
    { "Date", "28/12/26" },
    { "Time", "23:58" },
    { "Event", "Тест 3" },
    { "Direction", "От ТЕЛВ" },
    { "Mehanik", "000000009316" },
    { "Train", "8888" },
    { "Loko", "0031452" },
    { "ResultWord", "Норма" },
    { "ResultCod", "0000000" },
    { "DeviacD", "88" },
    { "DeviacM", "88" },
    { "DeviacG", "88" },
    { "Sens_mw_itog", "Норма:4" },
    { "Sens_mw_osl", "88" },
    { "Sens_gmw_itog", "Норма:4" },
    { "Sens_gmw_osl", "88" },
    { "MesD", "11111" },
    { "MesM", "11111" },
    { "MesG", "11111" },
};

const QHash<QString, QString> RegisterValues {
    { "Lokomotiv", "0031452" },
    { "OslablenieM", "-32768" },
    { "OslablenieG", "-32768" },
};

QHash<QString, QString> FactoryNumberValues()
{
    QHash<QString, QString> values { { "Loko", "0031452" }, { "d", "28.12.26" },
        { "t", "23:58:59" } };
    for (int k = 1; k <= 8; ++k) {
        values.insert(QStringLiteral("Block%1").arg(k), "8888888888888888");
    }
    return values;
}

struct Printed
{
    ReportLayout layout;
    ReportHooks hooks;
    QStringList fields;
    QHash<QString, QString> values;
};

using MakePrinted = std::function<Printed(Clock &)>;

Printed ResultPrinted(const ResultReport &report, const TableSchema &schema,
    const QHash<QString, QString> &values)
{
    return { report.layout, report.hooks, FieldNames(schema), values };
}

// The words that the report's items print: its literals, the fields of its rows,
// the values its hooks set and its page numbers.
QSet<QString> PrintedWords(const PreparedReport &report)
{
    QStringList texts;
    const ReportLayout &layout = report.layout();
    QList<const ReportBand *> bands { &layout.detail };
    for (const auto *band : { &layout.pageHeader, &layout.title, &layout.columnHeader }) {
        if (*band) {
            bands.append(&**band);
        }
    }
    for (const ReportBand *band : std::as_const(bands)) {
        for (const ReportItem &item : band->items) {
            switch (item.kind) {
            case ReportItem::Kind::Literal:
                texts.append(item.text);
                break;
            case ReportItem::Kind::Field:
                for (qsizetype row = 0; row < report.rowCount(); ++row) {
                    texts.append(report.fieldText(row, item.text));
                }
                break;
            case ReportItem::Kind::PageNumber:
                for (int page = 1; page <= report.pageCount(); ++page) {
                    texts.append(item.text + QString::number(page));
                }
                break;
            case ReportItem::Kind::Value:
                break;
            }
        }
    }
    for (int page = 0; page < report.pageCount(); ++page) {
        texts += report.page(page).values.texts.values();
    }
    for (qsizetype row = 0; row < report.rowCount(); ++row) {
        const ReportValues &values = report.detailValues(row);
        texts += values.texts.values();
        for (const ReportLines &lines : values.lines) {
            for (const ReportLine &line : lines) {
                texts.append(line.text);
            }
        }
    }
    QSet<QString> words;
    for (const QString &word :
        texts.join(u' ').split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        words.insert(word);
        // A caption in a box may break after a hyphen.
        const qsizetype hyphen = word.indexOf(u'-');
        if (hyphen > 0 && hyphen + 1 < word.size()) {
            words.insert(word.left(hyphen + 1));
            words.insert(word.mid(hyphen + 1));
        }
    }
    return words;
}

QString Describe(const PdfWord &word)
{
    const QRectF &b = word.boxMm;
    return QStringLiteral("\"%1\" at %2..%3 x %4..%5 mm")
        .arg(word.text)
        .arg(b.left(), 0, 'f', 1)
        .arg(b.right(), 0, 'f', 1)
        .arg(b.top(), 0, 'f', 1)
        .arg(b.bottom(), 0, 'f', 1);
}

} // namespace

Q_DECLARE_METATYPE(MakePrinted)

// Every printed page as the operator reads it: no two texts run together or
// overlap, and none leaves the printable area.
class TestPrintedPages : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_printed = 0;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void wordsStandApartInsideTheMargins_data()
    {
        QTest::addColumn<MakePrinted>("make");
        QTest::newRow("self-tests, compressed") << MakePrinted([](Clock &clock) {
            return ResultPrinted(TFReport(clock), Tests1Schema(), SelfTestValues);
        });
        QTest::newRow("self-tests, expanded") << MakePrinted([](Clock &clock) {
            return ResultPrinted(TFReportR1(clock), Tests1Schema(), SelfTestValues);
        });
        QTest::newRow("radio tests, compressed") << MakePrinted([](Clock &clock) {
            return ResultPrinted(TFReport23(clock), Test23Schema(), RadioTestValues);
        });
        QTest::newRow("radio tests, expanded") << MakePrinted([](Clock &clock) {
            return ResultPrinted(TFReportR2(clock), Test23Schema(), RadioTestValues);
        });
        QTest::newRow("locomotive radio stations") << MakePrinted([](Clock &clock) {
            return Printed {
                TQRRV::layout(), TQRRV::hooks(clock), RvRegister::reportFields(), RegisterValues
            };
        });
        QTest::newRow("factory numbers") << MakePrinted([](Clock &clock) {
            return Printed { TfBlockNumRep::layout(TfBlockNumRep::headerLine(clock.now())), {},
                FactoryNumbersRegister::printFields(), FactoryNumberValues() };
        });
    }

    void wordsStandApartInsideTheMargins()
    {
        QFETCH(MakePrinted, make);
        FakeClock clock(PrintedAt);
        const Printed printed = make(clock);
        const QList<QStringList> rows = WideRows(printed.fields, printed.values);
        ReportRowList source(printed.fields, rows);
        const PreparedReport report = PrepareReport(printed.layout, source, printed.hooks);
        QVERIFY2(report.isReady(), qPrintable(report.errorString()));
        const QString path = m_dir.filePath(QStringLiteral("%1.pdf").arg(++m_printed));
        QString error;
        QVERIFY2(WriteReportPdf(report, path, &error), qPrintable(error));
        const QList<PdfPage> pages = ReadPdf(path);
        QVERIFY(!pages.isEmpty());

        const QSet<QString> words = PrintedWords(report);
        const QMarginsF margins = printed.layout.marginsMm;
        for (const PdfPage &page : pages) {
            const QRectF printable = QRectF(QPointF(), page.sizeMm)
                                         .marginsRemoved(margins)
                                         .adjusted(-MarginToleranceMm, -MarginToleranceMm,
                                             MarginToleranceMm, MarginToleranceMm);
            for (qsizetype i = 0; i < page.words.size(); ++i) {
                const PdfWord &word = page.words.at(i);
                QVERIFY2(words.contains(word.text),
                    qPrintable(QStringLiteral("texts run together: ") + Describe(word)));
                QVERIFY2(printable.contains(word.boxMm),
                    qPrintable(QStringLiteral("in the margin: ") + Describe(word)));
                for (qsizetype j = i + 1; j < page.words.size(); ++j) {
                    const QRectF &a = word.boxMm;
                    const QRectF &b = page.words.at(j).boxMm;
                    const QString pair = Describe(word) + QStringLiteral(" and ")
                        + Describe(page.words.at(j));
                    const qreal sameLine = std::min(a.bottom(), b.bottom())
                        - std::max(a.top(), b.top());
                    if (sameLine > std::min(a.height(), b.height()) / 2) {
                        const qreal gap = std::max(b.left() - a.right(), a.left() - b.right());
                        QVERIFY2(gap >= LeastGapMm, qPrintable("too close: " + pair));
                    }
                    const QRectF common = a & b;
                    QVERIFY2(common.width() < OverlapMm || common.height() < OverlapMm,
                        qPrintable("overlap: " + pair));
                }
            }
        }
    }
};

QTEST_MAIN(TestPrintedPages)
#include "tst_printedpages.moc"
