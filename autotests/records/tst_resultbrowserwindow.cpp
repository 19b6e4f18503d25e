#include "resulttables.h"

#include "fakeclock.h"
#include "fakemessages.h"
#include "records/windows/browsernavigator.h"
#include "records/windows/reportoptionsdialog.h"
#include "records/windows/resultbrowsers.h"
#include "records/windows/selectdialog.h"
#include "reports/reportrows.h"
#include "shared/dateformats.h"
#include "widgets/appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace ResultTables;

namespace {

// What the report step handed to the preview.
struct ShownReport
{
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QStringList locos; // the Loko of each printed row
};

template<typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qWarning("no control %s", name);
    }
    return found;
}

// Runs fn on the next modal dialog once it is shown, then closes it with accept or
// reject.
void OnDialog(QDialog *dialog, std::function<void()> fn, bool accept = true)
{
    QTimer::singleShot(0, dialog, [=] {
        QTRY_VERIFY(dialog->isVisible());
        fn();
        accept ? dialog->accept() : dialog->reject();
    });
}

} // namespace

class TestResultBrowserWindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakeClock m_clock;
    FakeMessages m_messages;
    std::unique_ptr<TFSelectDlg> m_select;
    std::unique_ptr<TForm2> m_options;
    QList<ShownReport> m_shown;

    BrowserServices services(const QString &directory)
    {
        return { directory, *m_select, *m_options, m_clock, m_messages };
    }

    template<typename Window> std::unique_ptr<Window> make(const QString &directory)
    {
        auto window = std::make_unique<Window>(services(directory));
        window->setReportPresenter([this](const ResultReport &report, ReportRowSource &rows) {
            ShownReport shown { report.layout.name, report.layout.orientation, {} };
            const int loko = int(rows.fieldNames().indexOf("Loko"));
            const int mehanik = int(rows.fieldNames().indexOf("Mehanik"));
            QStringList values;
            while (rows.next(values)) {
                shown.locos.append(values.at(loko >= 0 ? loko : mehanik));
            }
            m_shown.append(shown);
        });
        window->show();
        return window;
    }

    // Radio test rows of locomotives 0000001.. on successive days.
    QString radioTable(int rows)
    {
        const QString directory = m_dir.filePath(QStringLiteral("t%1").arg(++m_tables));
        QDir().mkpath(directory);
        QList<QVariantList> list;
        for (int n = 1; n <= rows; ++n) {
            list.append(RadioTestRow(
                QDate(2026, 3, n), QStringLiteral("%1").arg(n, 7, 10, QChar(u'0')), "Тест 3"));
        }
        Append(directory, Test23Schema(), list);
        return directory;
    }

    void select(QTableView *grid, const QList<int> &rows)
    {
        for (const int row : rows) {
            grid->selectionModel()->select(grid->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    int m_tables = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        ApplyProgramAppearance(*qApp);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_select = std::make_unique<TFSelectDlg>("1234567", nullptr, QDate(2026, 3, 2));
        m_options = std::make_unique<TForm2>();
    }

    void init()
    {
        m_messages = FakeMessages();
        m_shown.clear();
    }

    void missingTableIsReportedOnShow()
    {
        QTemporaryDir empty;
        auto window = make<TFDB>(empty.path());
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY(m_messages.errors.first().startsWith("Не удается прочитать данные:Таблица"));
        QCOMPARE(window->grid()->model()->rowCount(), 0);
        QVERIFY(window->isVisible());
        QVERIFY(child<QTextEdit>(window.get(), "RichEdit1")->toPlainText().isEmpty());
    }

    void currentRowIsDecoded()
    {
        const QString directory = m_dir.filePath("self");
        QDir().mkpath(directory);
        QVERIFY(Append(directory, Tests1Schema(),
            { SelfTestRow(QDate(2026, 3, 1), "1", "Тест 1", "?"),
                SelfTestRow(QDate(2026, 3, 1), "2", "Тест 1", "0000000"),
                SelfTestRow(QDate(2026, 3, 1), "3", "Запись", "") }));
        auto window = make<TFDB>(directory);
        auto *comments = child<QTextEdit>(window.get(), "RichEdit1");
        QCOMPARE(comments->toPlainText(), "Нет ответа");
        auto *navigator = child<BrowserNavigator>(window.get(), "DBNavigator1");
        navigator->button(BrowserNavigator::Next)->click();
        QCOMPARE(comments->toPlainText().split(u'\n').size(), 13);
        navigator->button(BrowserNavigator::Last)->click();
        QVERIFY(comments->toPlainText().isEmpty());
        QVERIFY(!navigator->button(BrowserNavigator::Next)->isEnabled());
        // Closing closes the table and empties the window; showing again reopens it.
        window->close();
        QCOMPARE(window->grid()->model()->rowCount(), 0);
        window->show();
        QCOMPARE(window->grid()->model()->rowCount(), 3);
        QVERIFY(m_messages.errors.isEmpty());
    }

    // The locomotive criterion: offered by the radio browser only, kept between uses.
    void selectionDialogFromEachBrowser()
    {
        const QString directory = radioTable(3);
        SetProgramShortDateFormat({});
        auto radio = make<TFDB23>(directory);
        auto *locoBox = child<QCheckBox>(m_select.get(), "CheckBox1");
        OnDialog(m_select.get(), [&] {
            QVERIFY(locoBox->isEnabled());
            locoBox->setChecked(true);
            child<QLineEdit>(m_select.get(), "Edit1")->setText("2");
        });
        radio->chooseCriteria();
        QCOMPARE(radio->grid()->model()->rowCount(), 1);
        QCOMPARE(radio->grid()->model()->data(radio->grid()->model()->index(0, 6)), "0000002");
        // From then on short dates have a two-digit year.
        QCOMPARE(ShortDateText(QDate(2026, 3, 7)), "07.03.26");

        OnDialog(
            m_select.get(),
            [&] {
                QVERIFY(locoBox->isEnabled() && locoBox->isChecked());
                QCOMPARE(child<QLineEdit>(m_select.get(), "Edit1")->text(), "2");
                QVERIFY(child<QWidget>(m_select.get(), "Panel1")->isEnabled());
            },
            false);
        radio->chooseCriteria();
        QCOMPARE(radio->grid()->model()->rowCount(), 1); // Cancel changed nothing

        auto self = make<TFDB>(directory);
        OnDialog(
            m_select.get(),
            [&] {
                QVERIFY(!locoBox->isEnabled());
                QVERIFY(!locoBox->isChecked());
                QVERIFY(!child<QWidget>(m_select.get(), "Panel1")->isEnabled());
            },
            false);
        self->chooseCriteria();
    }

    // Both shared dialogs stand over the browser that opened them, so that the
    // window manager gives the focus back to that browser, not to the main window.
    void sharedDialogsBelongToTheOpeningBrowser()
    {
        const QString directory = radioTable(1);
        QWidget main;
        main.show();
        m_select->setParent(&main, m_select->windowFlags());
        m_options->setParent(&main, m_options->windowFlags());
        auto radio = make<TFDB23>(directory);
        auto self = make<TFDB>(directory);
        const auto transientParent
            = [](QDialog *dialog) { return dialog->windowHandle()->transientParent(); };
        QWindow *selectOver = nullptr;
        QWindow *optionsOver = nullptr;
        OnDialog(m_select.get(), [&] { selectOver = transientParent(m_select.get()); }, false);
        radio->chooseCriteria();
        OnDialog(m_options.get(), [&] { optionsOver = transientParent(m_options.get()); }, false);
        self->startReport();
        m_select->setParent(nullptr, m_select->windowFlags());
        m_options->setParent(nullptr, m_options->windowFlags());
        QCOMPARE(selectOver, radio->windowHandle());
        QCOMPARE(optionsOver, self->windowHandle());
    }

    void dateRanges_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<int>("rows");
        QTest::newRow("one day") << QDate(2026, 3, 2) << QDate(2026, 3, 2) << 1;
        QTest::newRow("reversed") << QDate(2026, 3, 3) << QDate(2026, 3, 1) << 0;
        QTest::newRow("all days") << QDate(2026, 3, 1) << QDate(2026, 3, 3) << 3;
    }

    void dateRanges()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(int, rows);
        auto window = make<TFDB23>(radioTable(3));
        OnDialog(m_select.get(), [&] {
            child<QCheckBox>(m_select.get(), "CheckBox1")->setChecked(false);
            child<QCheckBox>(m_select.get(), "CheckBox2")->setChecked(true);
            child<QDateEdit>(m_select.get(), "DTP1")->setDate(from);
            child<QDateEdit>(m_select.get(), "DTP2")->setDate(to);
        });
        window->chooseCriteria();
        QCOMPARE(window->grid()->model()->rowCount(), rows);
        const QString comments = child<QTextEdit>(window.get(), "RichEdit1")->toPlainText();
        QCOMPARE(comments.isEmpty(), rows == 0);
        if (rows > 0) {
            QVERIFY(comments.endsWith("Код теста 1 р/с: 0"));
        }
        // A later report prints the rows that pass, too.
        OnDialog(m_options.get(), [] {});
        window->startReport();
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(m_shown.first().locos.size(), rows);
        OnDialog(m_select.get(),
            [&] { child<QCheckBox>(m_select.get(), "CheckBox2")->setChecked(false); });
        window->chooseCriteria();
    }

    void reportChoices_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("chooseSelected");
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<QStringList>("printed");
        const QStringList all { "0000001", "0000002", "0000003", "0000004" };
        QTest::newRow("nothing selected") << QList<int> {} << true << false << all;
        QTest::newRow("selected rows in table order")
            << QList<int> { 3, 1 } << true << true << QStringList { "0000002", "0000004" };
        QTest::newRow("all records although selected")
            << QList<int> { 3, 1 } << false << false << all;
    }

    void reportChoices()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, chooseSelected);
        QFETCH(bool, expanded);
        QFETCH(QStringList, printed);
        auto window = make<TFDB23>(radioTable(4));
        select(window->grid(), selected);
        OnDialog(m_options.get(), [&] {
            auto *include = child<QGroupBox>(m_options.get(), "RadioGroup1");
            QCOMPARE(include->isEnabled(), !selected.isEmpty());
            const auto buttons = include->findChildren<QRadioButton *>();
            if (selected.isEmpty()) {
                QVERIFY(buttons.at(0)->isChecked());
            }
            if (include->isEnabled()) { // the operator can choose only then
                buttons.at(chooseSelected ? 1 : 0)->setChecked(true);
            }
            const auto formats
                = child<QGroupBox>(m_options.get(), "RadioGroup2")->findChildren<QRadioButton *>();
            formats.at(expanded ? 1 : 0)->setChecked(true);
        });
        window->startReport();
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(
            m_shown.first().orientation, expanded ? QPageLayout::Portrait : QPageLayout::Landscape);
        QCOMPARE(m_shown.first().title,
            expanded ? "Результаты тестирования локомотвных радиостанций "
                     : "Результаты тестирования локомотивных радиостанций ");
        QCOMPARE(m_shown.first().locos, printed);
        QVERIFY(child<QTextEdit>(window.get(), "RichEdit1")->isEnabled());

        OnDialog(
            m_options.get(), [] {}, false);
        window->startReport();
        QCOMPARE(m_shown.size(), 1); // Cancel shows no report
    }

    void deleteSelectedRows_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("left");
        QTest::newRow("nothing selected") << QList<int> {} << true << 3;
        QTest::newRow("answered no") << QList<int> { 0, 2 } << false << 3;
        QTest::newRow("answered yes") << QList<int> { 0, 2 } << true << 1;
    }

    void deleteSelectedRows()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, yes);
        QFETCH(int, left);
        auto window = make<TFDB23>(radioTable(3));
        select(window->grid(), selected);
        m_messages.answers = { yes ? OperatorMessages::Answer::Yes : OperatorMessages::Answer::No };
        window->deleteSelected();
        QCOMPARE(m_messages.questions,
            QStringList { "Вы дествительно хотите удалить все выделенные строки?" });
        QCOMPARE(window->grid()->model()->rowCount(), left);
        if (left == 1) {
            QCOMPARE(
                window->grid()->model()->data(window->grid()->model()->index(0, 6)), "0000002");
            QVERIFY(!window->grid()->selectionModel()->hasSelection());
        }
    }

    void navigatorDeletesAndRefreshes()
    {
        const QString directory = radioTable(2);
        auto window = make<TFDB23>(directory);
        auto *navigator = child<BrowserNavigator>(window.get(), "DBNavigator1");
        m_messages.answers = { OperatorMessages::Answer::Yes };
        navigator->button(BrowserNavigator::Delete)->click();
        QCOMPARE(m_messages.questions, QStringList { "Удалить запись?" });
        QCOMPARE(window->grid()->model()->rowCount(), 1);
        QVERIFY(Append(directory, Test23Schema(), { RadioTestRow(QDate(2026, 4, 1), "0000009") }));
        QCOMPARE(window->grid()->model()->rowCount(), 1);
        navigator->button(BrowserNavigator::Refresh)->click();
        QCOMPARE(window->grid()->model()->rowCount(), 2);
    }

    void columnChoiceHidesColumns()
    {
        auto window = make<TFDB>(radioTable(0));
        auto *fields = child<QListWidget>(window.get(), "clbViewFields");
        QCOMPARE(fields->count(), 22);
        QCOMPARE(fields->item(4)->text(), "Результат");
        fields->item(4)->setCheckState(Qt::Unchecked);
        QVERIFY(window->grid()->isColumnHidden(4));
        QVERIFY(!window->grid()->isColumnHidden(3));
        fields->item(4)->setCheckState(Qt::Checked);
        QVERIFY(!window->grid()->isColumnHidden(4));
    }

    // The report options dialog names what it asks and shows its choices whole.
    void reportOptionsShowTheirChoicesWhole()
    {
        TForm2 dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), "Параметры отчета");
        QVERIFY(dialog.width() >= 207 && dialog.height() >= 175);
        const auto groups = dialog.findChildren<QGroupBox *>();
        QCOMPARE(groups.size(), 2);
        for (const QGroupBox *group : groups) {
            for (const QRadioButton *button : group->findChildren<QRadioButton *>()) {
                QVERIFY2(group->contentsRect().contains(button->geometry())
                        && button->height() >= button->sizeHint().height()
                        && button->width() >= button->sizeHint().width(),
                    qPrintable(button->text()));
            }
        }
    }

    // The column choice shows every name whole, in two columns; a grid header too
    // narrow for its title gives the title as a tooltip.
    void columnNamesReadWhole_data()
    {
        QTest::addColumn<bool>("radio");
        QTest::newRow("self-tests") << false;
        QTest::newRow("radio tests") << true;
    }

    void columnNamesReadWhole()
    {
        QFETCH(bool, radio);
        const QString directory = radioTable(0);
        std::unique_ptr<ResultBrowserWindow> window;
        if (radio) {
            window = make<TFDB23>(directory);
        } else {
            window = make<TFDB>(directory);
        }
        child<QTabWidget>(window.get(), "PageControl1")->setCurrentIndex(1);
        auto *fields = child<QListWidget>(window.get(), "clbViewFields");
        const auto columnsOf = [fields] {
            QSet<int> lefts;
            for (int i = 0; i < fields->count(); ++i) {
                lefts.insert(fields->visualItemRect(fields->item(i)).left());
            }
            return lefts.size();
        };
        QTRY_COMPARE(columnsOf(), 2);
        const int box = fields->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4;
        for (int i = 0; i < fields->count(); ++i) {
            const QString text = fields->item(i)->text();
            QVERIFY2(fields->visualItemRect(fields->item(i)).width()
                    >= fields->fontMetrics().horizontalAdvance(text) + box,
                qPrintable(text));
        }
        const QAbstractItemModel *grid = window->grid()->model();
        for (int c = 0; c < grid->columnCount(); ++c) {
            QCOMPARE(grid->headerData(c, Qt::Horizontal, Qt::ToolTipRole),
                grid->headerData(c, Qt::Horizontal, Qt::DisplayRole));
        }
    }
};

QTEST_MAIN(TestResultBrowserWindow)
#include "tst_resultbrowserwindow.moc"
