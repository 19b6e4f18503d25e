#include "fakeclock.h"
#include "fakemessages.h"
#include "pdfpages.h"
#include "samplereports.h"

#include "reports/reportrows.h"
#include "reports/windows/reportpreview.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace SampleReports;

namespace {

const QDateTime PrintedAt(QDate(2026, 12, 10), QTime(10, 5));

// Runs check on the modal preview once it is shown, then closes it.
void WhenPreviewShows(const std::function<void(QPrintPreviewDialog &)> &check)
{
    QTimer::singleShot(0, [check] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QFAIL("no preview is shown");
        }
        check(*dialog);
        dialog->reject();
    });
}

// Rows whose taking moves the clock on, as a slow query would.
class SlowRows final : public ReportRowSource
{
public:
    SlowRows(ReportRowSource &rows, FakeClock &clock, int msPerRow)
        : m_rows(rows)
        , m_clock(clock)
        , m_msPerRow(msPerRow)
    { }

    QStringList fieldNames() const override { return m_rows.fieldNames(); }
    qsizetype expectedRows() const override { return m_rows.expectedRows(); }
    bool next(QStringList &values) override
    {
        m_clock.advance(m_msPerRow);
        return m_rows.next(values);
    }

private:
    ReportRowSource &m_rows;
    FakeClock &m_clock;
    int m_msPerRow;
};

QProgressDialog *VisibleProgress()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->isVisible()) {
            return p;
        }
    }
    return nullptr;
}

} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void everyRenderingPaintsTheSameSnapshot()
    {
        QList<QStringList> rows = SelfTestRows(30);
        ReportRowList source(SelfTestFields(), rows);
        const PreparedReport report
            = PrepareReport(SelfTestCompressed(), source, SelfTestHooks(PrintedAt));
        FakeMessages messages;
        ReportPreview preview(report, messages);
        QCOMPARE(preview.dialog()->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QSignalSpy paints(preview.dialog(), &QPrintPreviewDialog::paintRequested);
        QList<int> pageCounts;
        WhenPreviewShows([&](QPrintPreviewDialog &dialog) {
            auto *widget = dialog.findChild<QPrintPreviewWidget *>();
            QVERIFY(widget);
            pageCounts.append(widget->pageCount());
            rows.append(SelfTestRows(40)); // rows added while the preview is open
            widget->zoomIn();
            widget->updatePreview();
            pageCounts.append(widget->pageCount());
            widget->setPortraitOrientation(); // the operator turns the page
            widget->updatePreview();
            pageCounts.append(widget->pageCount());
        });
        preview.exec();
        QVERIFY(paints.count() >= 2);
        QCOMPARE(pageCounts, QList<int>({ 3, 3, 3 }));
        QVERIFY(messages.errors.isEmpty());
    }

    void savesTheReportAsPdfFromItsToolbar()
    {
        const QList<QStringList> rows = SelfTestRows(30);
        ReportRowList source(SelfTestFields(), rows);
        const PreparedReport report
            = PrepareReport(SelfTestCompressed(), source, SelfTestHooks(PrintedAt));
        FakeMessages messages;
        ReportPreview preview(report, messages);
        auto *toolBar = preview.dialog()->findChild<QToolBar *>();
        QVERIFY(toolBar);
        QVERIFY(toolBar->actions().contains(preview.saveAsPdfAction()));
        QCOMPARE(preview.saveAsPdfAction()->text(), QString("Сохранить в PDF"));

        const QString path = m_dir.filePath("saved.pdf");
        QVERIFY(preview.saveAsPdf(path));
        QCOMPARE(ReadPdf(path).size(), 3);
        QVERIFY(messages.errors.isEmpty());

        QVERIFY(!preview.saveAsPdf(m_dir.filePath("missing/dir/saved.pdf")));
        QCOMPARE(messages.errors.size(), 1);
    }

    void previewReportPreparesAndShowsTheRows()
    {
        const QList<QStringList> rows = SelfTestRows(3);
        ReportRowList source(SelfTestFields(), rows);
        FakeMessages messages;
        FakeClock clock;
        int pages = 0;
        QString caption;
        WhenPreviewShows([&](QPrintPreviewDialog &dialog) {
            pages = dialog.findChild<QPrintPreviewWidget *>()->pageCount();
            caption = dialog.windowTitle();
        });
        PreviewReport(SelfTestExpanded(), source, SelfTestHooks(PrintedAt), clock, messages);
        QCOMPARE(pages, 1);
        QCOMPARE(caption, QString("Результаты тестирования ТЕЛВ-2"));
        QVERIFY(messages.errors.isEmpty());
    }

    void previewReportShowsAFailureInsteadOfThePreview_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("errors");
        QTest::newRow("layout names an unknown field") << false << 1;
        QTest::newRow("cancelled preparation") << true << 0;
    }

    void previewReportShowsAFailureInsteadOfThePreview()
    {
        QFETCH(bool, cancel);
        QFETCH(int, errors);
        const QList<QStringList> rows = SelfTestRows(300);
        ReportRowList source(SelfTestFields(), rows);
        ReportLayout layout = SelfTestCompressed();
        if (!cancel) {
            layout.detail.items.append(ReportItem::field(0, 0, "NoSuchField"));
        }
        ReportHooks hooks = SelfTestHooks(PrintedAt);
        hooks.progress = [cancel](qsizetype, qsizetype) { return !cancel; };
        bool previewShown = false;
        QTimer guard; // closes a preview that should not have opened
        connect(&guard, &QTimer::timeout, [&] {
            if (auto *d = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                previewShown = true;
                d->reject();
            }
        });
        guard.start(0);
        FakeMessages messages;
        FakeClock clock;
        PreviewReport(layout, source, hooks, clock, messages);
        QVERIFY(!previewShown);
        QCOMPARE(messages.errors.size(), errors);
    }

    void slowPreparationShowsProgressAndCanBeCancelled_data()
    {
        QTest::addColumn<int>("msPerRow");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("progressShown");
        QTest::addColumn<bool>("previewShown");

        // Progress is looked at every 100 rows; the dialog waits for half a second.
        QTest::newRow("quick: no progress") << 1 << false << false << true;
        QTest::newRow("slow: progress, then the preview") << 10 << false << true << true;
        QTest::newRow("slow, cancelled: no preview") << 10 << true << true << false;
    }

    void slowPreparationShowsProgressAndCanBeCancelled()
    {
        QFETCH(int, msPerRow);
        QFETCH(bool, cancel);
        QFETCH(bool, progressShown);
        QFETCH(bool, previewShown);
        const QList<QStringList> rows = SelfTestRows(400);
        ReportRowList list(SelfTestFields(), rows);
        FakeClock clock;
        SlowRows source(list, clock, msPerRow);
        QString label;
        ReportHooks hooks = SelfTestHooks(PrintedAt);
        hooks.progress = [&](qsizetype taken, qsizetype) {
            if (QProgressDialog *progress = VisibleProgress(); progress && taken == 200) {
                label = progress->labelText();
                if (cancel) {
                    progress->cancel(); // the operator presses its button
                }
            }
            return true;
        };
        bool shown = false;
        QTimer guard;
        connect(&guard, &QTimer::timeout, [&] {
            if (auto *d = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                shown = true;
                d->reject();
            }
        });
        guard.start(0);
        FakeMessages messages;
        PreviewReport(SelfTestCompressed(), source, hooks, clock, messages);
        QCOMPARE(!label.isEmpty(), progressShown);
        if (progressShown) {
            QCOMPARE(label, QString("Подготовка отчёта… строк: 100"));
        }
        QCOMPARE(shown, previewShown);
        QVERIFY(messages.errors.isEmpty());
        QVERIFY(!VisibleProgress());
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
