#include "fakemessages.h"
#include "pdfpages.h"
#include "samplereports.h"

#include "reports/reportpreview.h"
#include "reports/reportrows.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
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
        const PreparedReport report = PrepareReport(SelfTestCompressed(), source,
                                                    SelfTestHooks(PrintedAt));
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
        const PreparedReport report = PrepareReport(SelfTestCompressed(), source,
                                                    SelfTestHooks(PrintedAt));
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
        int pages = 0;
        QString caption;
        WhenPreviewShows([&](QPrintPreviewDialog &dialog) {
            pages = dialog.findChild<QPrintPreviewWidget *>()->pageCount();
            caption = dialog.windowTitle();
        });
        PreviewReport(SelfTestExpanded(), source, SelfTestHooks(PrintedAt), messages);
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
        PreviewReport(layout, source, hooks, messages);
        QVERIFY(!previewShown);
        QCOMPARE(messages.errors.size(), errors);
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
