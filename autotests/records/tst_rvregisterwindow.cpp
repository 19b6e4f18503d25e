#include "fakeclock.h"
#include "fakemessages.h"
#include "readonlydirectory.h"
#include "records/windows/rvregisterwindow.h"
#include "tabletexts.h"
#include "widgets/appearance.h"
#include "widgets/recordgrid.h"
#include "widgets/recordnavigator.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using Answer = OperatorMessages::Answer;
using State = TableEditModel::State;

const QString CloseQuestion
    = QStringLiteral("Редактирование строки не завершено. Сохранить изменения?");

} // namespace

class TestRvRegisterWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_messages.emplace();
        m_window = std::make_unique<TFDBRV>(m_clock, *m_messages, m_dir->path());
    }
    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void controlsAsTheOperatorKnowsThem()
    {
        QCOMPARE(m_window->windowTitle(), "Данные о локомотивных РС");
        QCOMPARE(m_window->size(), QSize(427, 375));
        auto *report = m_window->findChild<QToolButton *>("BitBtn1");
        QVERIFY(report);
        QCOMPARE(report->toolTip(), "Отчет");
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        QVERIFY(navigator);
        QStringList hints;
        for (int b = 0; b < RecordNavigator::ButtonCount; ++b) {
            hints.append(navigator->button(RecordNavigator::Button(b))->toolTip());
        }
        QCOMPARE(hints,
            (QStringList { "Первая запись", "Предыдущая запись", "Следующая запись",
                "Последняя запись", "Вставить  запись", "Удалить  запись", "Редактировать  запись",
                "Запомнить изменения", "Отменить изменения" }));
        saveRow("1");
        RecordGrid *grid = this->grid();
        QCOMPARE(grid->model()->columnCount(), 3);
        QStringList titles;
        for (int c = 0; c < 3; ++c) {
            titles.append(grid->model()->headerData(c, Qt::Horizontal).toString());
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal, Qt::ToolTipRole), titles.last());
            QCOMPARE(Qt::Alignment(grid->model()->index(0, c).data(Qt::TextAlignmentRole).toInt())
                    & Qt::AlignHorizontal_Mask,
                Qt::AlignHCenter);
        }
        QCOMPARE(titles,
            (QStringList { " Локомотив ", "Коррекция ослабления МВ", "Коррекция ослабления ГМВ" }));
        QCOMPARE(grid->columnWidth(1), 144);
        QCOMPARE(grid->columnWidth(2), 165);
        QVERIFY(m_messages->errors.isEmpty());
    }

    void theGridGrowsWithTheHeightOnly()
    {
        m_window->show();
        const QSize before = grid()->size();
        m_window->resize(600, 500);
        QApplication::processEvents();
        QCOMPARE(grid()->width(), before.width());
        QCOMPARE(grid()->height(), before.height() + 125);
    }

    void closingWithARowInEdit_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<int>("errors");
        QTest::newRow("yes saves with zeros")
            << Answer::Yes << "77" << true << QStringList { "0000001", "0000077" } << 0;
        QTest::newRow("yes with a taken number stays open")
            << Answer::Yes << "0000001" << false << QStringList { "0000001" } << 1;
        QTest::newRow("no drops the row")
            << Answer::No << "77" << true << QStringList { "0000001" } << 0;
        QTest::newRow("cancel keeps editing")
            << Answer::Cancel << "77" << false << QStringList { "0000001" } << 0;
    }
    void closingWithARowInEdit()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, typed);
        QFETCH(bool, closes);
        QFETCH(QStringList, saved);
        QFETCH(int, errors);
        saveRow("1");
        m_window->show();
        TableEditModel &model = m_window->rvRegister().model();
        QVERIFY(model.insert());
        model.setValue("Lokomotiv", typed);
        m_messages->answers = { answer };

        m_window->close();
        QCOMPARE(m_messages->questions, QStringList { CloseQuestion });
        QCOMPARE(m_window->isVisible(), !closes);
        QCOMPARE(m_messages->errors.size(), errors);
        QCOMPARE(savedLocos(), saved);
        if (!closes) {
            QCOMPARE(model.state(), State::Insert);
            QCOMPARE(model.value(model.currentRow(), "Lokomotiv").toString(),
                answer == Answer::Yes ? PadLocoNumber(typed) : typed);
        }
    }

    void closingWithoutAnEditAsksNothing()
    {
        m_window->show();
        m_window->close();
        QVERIFY(!m_window->isVisible());
        QVERIFY(m_messages->questions.isEmpty());
        // Escape is a close too.
        m_window->show();
        QVERIFY(m_window->rvRegister().model().insert());
        m_window->rvRegister().model().setValue("Lokomotiv", QStringLiteral("5"));
        m_messages->answers = { Answer::Cancel };
        m_window->reject();
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_messages->questions, QStringList { CloseQuestion });
    }

    void typingInTheGridAndMovingOffTheRowSavesIt()
    {
        saveRow("1");
        saveRow("2");
        m_window->show();
        RecordGrid *grid = this->grid();
        const QModelIndex cell = grid->model()->index(0, 1);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = grid->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(m_window->rvRegister().model().state(), State::Edit);
        editor->setText("33");
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QCOMPARE(m_window->rvRegister().model().state(), State::Browse);
        QCOMPARE(m_window->rvRegister().find("0000001").corrections.mv, 33);
        QCOMPARE(grid->currentIndex().row(), 1);
    }

    void movingOffARowThatCannotBeSavedStaysOnIt()
    {
        saveRow("1");
        saveRow("2");
        m_window->show();
        RecordGrid *grid = this->grid();
        TableEditModel &model = m_window->rvRegister().model();
        model.setCurrentRow(1);
        QVERIFY(model.edit());
        model.setValue("Lokomotiv", QStringLiteral("1"));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QCOMPARE(m_messages->errors.size(), 1);
        QCOMPARE(m_messages->errors.first(),
            "Запись не сохранена: в таблице РВ.db уже есть запись с теми же значениями "
            "(Локомотив 0000001)");
        QCOMPARE(model.state(), State::Edit);
        QCOMPARE(model.currentRow(), 1);
        QCOMPARE(grid->currentIndex().row(), 1);
    }

    void leavingTheGridDropsAnUntouchedNewRow()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        RecordGrid *grid = this->grid();
        grid->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return grid->hasFocus(); }));
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        navigator->click(RecordNavigator::Insert);
        QCOMPARE(m_window->rvRegister().model().state(), State::Insert);
        QCOMPARE(grid->model()->rowCount(), 1);
        m_window->findChild<QToolButton *>("BitBtn1")->setFocus(); // focus goes elsewhere
        QVERIFY(QTest::qWaitFor([&] { return !grid->hasFocus(); }));
        QCOMPARE(m_window->rvRegister().model().state(), State::Browse);
        QCOMPARE(grid->model()->rowCount(), 0);
    }

    // "+" hands the new row to the keyboard: the first column, whichever column was
    // current before.
    void typingAfterInsertFillsTheNewRowFromItsFirstColumn()
    {
        saveRow("1");
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        RecordGrid *grid = this->grid();
        grid->setCurrentIndex(grid->model()->index(0, 2));
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        QTest::mouseClick(navigator->button(RecordNavigator::Insert), Qt::LeftButton);

        QWidget *typedInto = QApplication::focusWidget();
        QVERIFY(typedInto && grid->isAncestorOf(typedInto));
        QCOMPARE(grid->currentIndex().column(), 0);
        QTest::keyClicks(typedInto, "12345");
        QTest::keyClick(typedInto, Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "3");
        navigator->click(RecordNavigator::Post);

        QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join('\n')));
        QCOMPARE(savedLocos(), (QStringList { "0000001", "0012345" }));
        QCOMPARE(m_window->rvRegister().find("0012345").corrections.mv, 3);
    }

    void navigatorDeletesAfterAsking()
    {
        saveRow("1");
        saveRow("2");
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        m_messages->answers = { Answer::No, Answer::Yes };
        navigator->click(RecordNavigator::Delete);
        QCOMPARE(savedLocos().size(), 2);
        navigator->click(RecordNavigator::Delete);
        QCOMPARE(m_messages->questions.size(), 2);
        QCOMPARE(savedLocos().size(), 1);
    }

    void navigatorButtonsFollowTheState()
    {
        saveRow("1");
        saveRow("2");
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        const auto enabled
            = [navigator](RecordNavigator::Button b) { return navigator->button(b)->isEnabled(); };
        navigator->click(RecordNavigator::First);
        QVERIFY(!enabled(RecordNavigator::Prior));
        QVERIFY(enabled(RecordNavigator::Next));
        QVERIFY(!enabled(RecordNavigator::Post));
        navigator->click(RecordNavigator::Edit);
        QVERIFY(enabled(RecordNavigator::Post));
        QVERIFY(enabled(RecordNavigator::Cancel));
        QVERIFY(!enabled(RecordNavigator::Edit));
        navigator->click(RecordNavigator::Cancel);
        navigator->click(RecordNavigator::Last);
        QCOMPARE(m_window->rvRegister().model().currentRow(), 1);
        QVERIFY(!enabled(RecordNavigator::Next));
    }

    void theReportSavesOrDropsTheRowInEdit_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("rows");
        QTest::newRow("changed row is saved") << true << 2;
        QTest::newRow("untouched new row is dropped") << false << 1;
    }
    void theReportSavesOrDropsTheRowInEdit()
    {
        QFETCH(bool, typed);
        QFETCH(int, rows);
        saveRow("1");
        TableEditModel &model = m_window->rvRegister().model();
        QVERIFY(model.insert());
        if (typed) {
            model.setValue("Lokomotiv", QStringLiteral("9"));
        }
        QList<QStringList> printed;
        QVERIFY(m_window->reportRows(&printed));
        QCOMPARE(printed.size(), rows);
        QCOMPARE(model.state(), State::Browse);
        QVERIFY(m_messages->errors.isEmpty());
    }

    void aTableThatCannotBeOpenedIsReportedAndTheWindowWorksOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("not a database") << "garbage";
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("cannot be opened") << "unopenable";
    }
    void aTableThatCannotBeOpenedIsReportedAndTheWindowWorksOn()
    {
        QFETCH(QString, how);
        m_window.reset();
        if (how == "garbage") {
            QFile file(m_dir->filePath(RvSchema().fileName));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("garbage");
        } else {
            QVERIFY(SpoilTable(m_dir->path(), RvSchema(), how));
        }
        const auto before = FileChecksums(m_dir->path());
        m_window = std::make_unique<TFDBRV>(m_clock, *m_messages, m_dir->path());
        QCOMPARE(m_messages->errors.size(), 1);
        // Which table and where, in Russian, then the engine's own text.
        const QString prefix = "Не удается открыть таблицу РВ.db в папке " + m_dir->path() + ": ";
        QVERIFY2(m_messages->errors.first().startsWith(prefix), qPrintable(m_messages->errors.first()));
        QVERIFY(m_messages->errors.first().size() > prefix.size());
        // Said once, not again by the table's own text.
        QCOMPARE(m_messages->errors.first().count("открыть таблицу"), 1);
        QCOMPARE(grid()->model()->rowCount(), 0);
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        QVERIFY(!navigator->button(RecordNavigator::Insert)->isEnabled());
        m_window->show();
        m_window->close();
        QVERIFY(!m_window->isVisible());
        m_window->closeTable();
        QCOMPARE(m_messages->errors.size(), 1);
        m_window.reset();
        QCOMPARE(FileChecksums(m_dir->path()), before);
    }

    void looksRight()
    {
        saveRow("1234567");
        saveRow("42");
        m_window->show();
        QVERIFY(m_window->grab().save(QDir::temp().filePath("tfdbrv.png")));
    }

private:
    RecordGrid *grid() { return m_window->findChild<RecordGrid *>("DBGrid1"); }

    void saveRow(const QString &loco)
    {
        TableEditModel &model = m_window->rvRegister().model();
        QVERIFY(model.append());
        model.setValue("Lokomotiv", loco);
        model.setValue("OslablenieM", 12);
        model.setValue("OslablenieG", 7);
        QVERIFY2(model.post(), qPrintable(model.errorText()));
    }

    QStringList savedLocos()
    {
        QList<QStringList> rows;
        m_window->rvRegister().reportRows(&rows);
        QStringList locos;
        for (const QStringList &row : std::as_const(rows)) {
            locos.append(row.first());
        }
        return locos;
    }

    FakeClock m_clock;
    std::optional<QTemporaryDir> m_dir;
    std::optional<FakeMessages> m_messages;
    std::unique_ptr<TFDBRV> m_window;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyProgramAppearance(app);
    TestRvRegisterWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_rvregisterwindow.moc"
