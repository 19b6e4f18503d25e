#include "console/trafficwindow.h"
#include "link/trafficlog.h"
#include "widgets/appearance.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

class TestTrafficWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { ApplyProgramAppearance(*qApp); }

    void headers()
    {
        TFevery window;
        for (const char *name : { "StringGrid1", "StringGrid2" }) {
            auto *grid = window.findChild<QTableWidget *>(QLatin1String(name));
            QVERIFY(grid);
            QCOMPARE(grid->columnCount(), 10);
            QCOMPARE(grid->rowCount(), 100);
            QCOMPARE(grid->horizontalHeaderItem(9)->text(), QStringLiteral("9"));
            QCOMPARE(grid->verticalHeaderItem(99)->text(), QStringLiteral("990"));
        }
    }

    // The row labels up to "990" have the room around them that a byte has in its
    // cell, and the ten byte columns still fit beside the scroll bar.
    void rowLabelsAndBytesFit()
    {
        TFevery window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (auto *grid : window.findChildren<QTableWidget *>()) {
            QHeaderView *rows = grid->verticalHeader();
            const QFontMetrics metrics = rows->fontMetrics();
            QVERIFY(rows->width() - metrics.horizontalAdvance(QStringLiteral("990"))
                >= grid->columnWidth(0) - metrics.horizontalAdvance(QStringLiteral("FF")));
            QVERIFY(grid->columnViewportPosition(9) + grid->columnWidth(9)
                <= grid->viewport()->width());
        }
    }

    void fifteenBytes()
    {
        TrafficLog received;
        TrafficLog sent;
        for (int i = 0; i < 15; ++i) {
            received.append(i == 14 ? 0xE4 : static_cast<std::uint8_t>(i));
        }
        sent.append(0xD0);
        TFevery window;
        window.fill(received, sent);
        auto *left = window.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
        auto *right = window.findChild<QTableWidget *>(QStringLiteral("StringGrid2"));
        QCOMPARE(left->item(0, 0)->text(), QStringLiteral("00"));
        QCOMPARE(left->item(0, 9)->text(), QStringLiteral("09"));
        QCOMPARE(left->item(1, 4)->text(), QStringLiteral("E4"));
        QVERIFY(left->item(1, 5) == nullptr);
        QCOMPARE(right->item(0, 0)->text(), QStringLiteral("D0"));
    }

    void twelveHundredBytes()
    {
        TrafficLog received;
        TrafficLog sent;
        for (int i = 1; i <= 1200; ++i) {
            received.append(static_cast<std::uint8_t>(i % 256));
        }
        TFevery window;
        window.fill(received, sent);
        auto *left = window.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
        // The oldest 200 are gone: the first cell holds the 201st byte received.
        QCOMPARE(left->item(0, 0)->text(), QStringLiteral("C9"));
        QCOMPARE(left->item(99, 9)->text(), QStringLiteral("B0")); // 1200 % 256 = 0xB0
    }
};

QTEST_MAIN(TestTrafficWindow)
#include "tst_trafficwindow.moc"
