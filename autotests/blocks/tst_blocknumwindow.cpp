#include "blocks/blocknumreport.h"
#include "blocks/windows/blocknumwindow.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "pdfpages.h"
#include "readonlydirectory.h"
#include "reports/reportpainter.h"
#include "reports/reportprepare.h"
#include "reports/reportrows.h"
#include "tabletexts.h"
#include "widgets/appearance.h"
#include "widgets/recordgrid.h"
#include "widgets/recordnavigator.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using Answer = OperatorMessages::Answer;
using State = TableEditModel::State;

QStringList blocks(const QString &first)
{
    QStringList list { first };
    for (int k = 2; k <= 8; ++k) {
        list.append(QStringLiteral("000000000000000%1").arg(k));
    }
    return list;
}

// Asks as the program does: each question is a modal box that takes the activation
// from the window that was active, while it is shown.
class BoxMessages final : public OperatorMessages
{
public:
    void showError(const QString &text) override { errors.append(text); }

    Answer ask(const QString &text, bool) override
    {
        questions.append(text);
        QDialog box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        if (leftWindow) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(leftWindow, &deactivate);
        }
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }

    QWidget *leftWindow = nullptr;
    QStringList errors;
    QStringList questions;
    QList<Answer> answers;
};

} // namespace

class TestBlockNumWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_messages.emplace();
        m_window = std::make_unique<TfBlockNum>(m_clock, *m_messages, m_dir->path());
    }
    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void controlsAndColumns()
    {
        QCOMPARE(m_window->windowTitle(), "Заводские номера блоков");
        QVERIFY(m_messages->errors.isEmpty());
        auto *include = m_window->findChild<QComboBox *>("cbIncludeRecords");
        QVERIFY(include);
        QCOMPARE(include->currentIndex(), 0);
        QCOMPARE(include->itemText(0), "Выводить только текущие номера для каждого локомотива");
        QCOMPARE(include->itemText(1), "Выводить все номера ");
        QCOMPARE(m_window->findChild<QPushButton *>("bPrint")->text(), "Печать");
        QVERIFY(m_window->findChild<RecordNavigator *>("DBNavigator1"));
        QStringList titles;
        QStringList tooltips; // whole titles where a column is too narrow for them
        QAbstractItemModel *model = grid()->model();
        for (int c = 0; c < model->columnCount(); ++c) {
            titles.append(model->headerData(c, Qt::Horizontal).toString());
            tooltips.append(model->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString());
        }
        const QStringList expected { "Локомотив", "Дата перезаписи", "Время перезаписи", "Блок1",
            "Блок2", "Блок3", "Блок4", "Блок5", "Блок6", "Блок7", "Блок8", "Дата внесения",
            "Время внесения", "Источник" };
        QCOMPARE(titles, expected);
        QCOMPARE(tooltips, expected);
        QListWidget *fields = this->fields();
        QCOMPARE(fields->count(), expected.size());
        for (int i = 0; i < fields->count(); ++i) {
            QCOMPARE(fields->item(i)->text(), expected.at(i));
            QCOMPARE(fields->item(i)->checkState(), Qt::Checked);
        }
    }

    void theCheckListShowsAndHidesColumns()
    {
        fields()->item(3)->setCheckState(Qt::Unchecked);
        QVERIFY(grid()->isColumnHidden(3));
        QVERIFY(!grid()->isColumnHidden(4));
        fields()->item(3)->setCheckState(Qt::Checked);
        QVERIFY(!grid()->isColumnHidden(3));
    }

    void printIsEnabledOnlyInBrowse()
    {
        auto *print = m_window->findChild<QPushButton *>("bPrint");
        TableEditModel &model = m_window->factoryNumbers().model();
        QVERIFY(print->isEnabled());
        QVERIFY(model.insert());
        QVERIFY(!print->isEnabled());
        model.setValue("Loko", QStringLiteral("1"));
        QVERIFY(model.post());
        QVERIFY(print->isEnabled());
        QVERIFY(model.edit());
        QVERIFY(!print->isEnabled());
        model.cancel();
        QVERIFY(print->isEnabled());
    }

    void editingAStationRowInTheGridIsRefused()
    {
        QVERIFY(m_window->factoryNumbers().WriteFactoryNumbers(
            "1234567", 2, blocks("1"), m_clock.now()));
        m_window->show();
        const QModelIndex cell = grid()->model()->index(0, 3);
        grid()->setCurrentIndex(cell);
        grid()->edit(cell);
        QCOMPARE(
            m_messages->errors, QStringList { "Пришедшую с устройства информацию менять нельзя" });
        QCOMPARE(m_window->factoryNumbers().model().state(), State::Browse);
        QVERIFY(!grid()->findChild<QLineEdit *>()); // no cell editor opened
    }

    void closingOrLeavingWithARowInEdit_data()
    {
        QTest::addColumn<bool>("leaving"); // another window becomes active
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("loko");
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<int>("rows");
        QTest::addColumn<State>("state");
        QTest::newRow("close, yes") << false << Answer::Yes << "5" << false << 1 << State::Browse;
        QTest::newRow("close, yes without Loko")
            << false << Answer::Yes << "" << true << 1 << State::Insert;
        QTest::newRow("close, no") << false << Answer::No << "5" << false << 0 << State::Browse;
        QTest::newRow("close, cancel")
            << false << Answer::Cancel << "5" << true << 1 << State::Insert;
        QTest::newRow("leave, yes") << true << Answer::Yes << "5" << true << 1 << State::Browse;
        QTest::newRow("leave, cancel")
            << true << Answer::Cancel << "5" << true << 1 << State::Insert;
    }
    void closingOrLeavingWithARowInEdit()
    {
        QFETCH(bool, leaving);
        QFETCH(Answer, answer);
        QFETCH(QString, loko);
        QFETCH(bool, staysOpen);
        QFETCH(int, rows);
        QFETCH(State, state);
        m_window->iBlockNumClick();
        TableEditModel &model = m_window->factoryNumbers().model();
        QVERIFY(model.insert());
        model.setValue("Loko", loko);
        m_messages->answers = { answer };
        if (leaving) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(m_window.get(), &deactivate);
        } else {
            m_window->close();
        }
        QCOMPARE(m_messages->questions,
            QStringList { "Редактирование строки не завершено. Сохранить изменения?" });
        QCOMPARE(m_window->isVisible(), staysOpen);
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.state(), state);
        QCOMPARE(m_messages->errors.size(), loko.isEmpty() ? 1 : 0);
    }

    // Numbers arriving while the operator edits a row: the register's own question
    // is the only one, though its box takes the activation from the window.
    void numbersArrivingDuringAnEditAskOneQuestion()
    {
        BoxMessages messages;
        TfBlockNum window(m_clock, messages, m_dir->path());
        window.iBlockNumClick();
        messages.leftWindow = &window;
        TableEditModel &model = window.factoryNumbers().model();
        QVERIFY(model.insert());
        model.setValue("Loko", QStringLiteral("5"));
        messages.answers = { Answer::Yes };

        QVERIFY(window.factoryNumbers().WriteFactoryNumbers(
            "1234567", 2, blocks("1"), m_clock.now()));
        QCOMPARE(messages.questions,
            QStringList { "Получены данные со ТЕЛВ. Необходимо завершить редактирование строки. "
                          "Сохранить изменения?" });
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(messages.errors.isEmpty());
    }

    void typingAfterInsertFillsTheLocomotive()
    {
        m_window->iBlockNumClick();
        QApplication::setActiveWindow(m_window.get());
        auto *navigator = m_window->findChild<RecordNavigator *>("DBNavigator1");
        QTest::mouseClick(navigator->button(RecordNavigator::Insert), Qt::LeftButton);
        QWidget *typedInto = QApplication::focusWidget();
        QVERIFY(typedInto && grid()->isAncestorOf(typedInto));
        QTest::keyClicks(typedInto, "7654321");
        navigator->click(RecordNavigator::Post);
        TableEditModel &model = m_window->factoryNumbers().model();
        QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join('\n')));
        QCOMPARE(model.value(model.currentRow(), "Loko").toString(), "7654321");
    }

    void thePrintedList()
    {
        FactoryNumbersRegister &reg = m_window->factoryNumbers();
        QVERIFY(reg.WriteFactoryNumbers("1234567", 2, blocks("1111222233334444"), m_clock.now()));
        QVERIFY(reg.WriteFactoryNumbers("7654321", 2, blocks("9999888877776666"), m_clock.now()));
        QList<QStringList> rows;
        QVERIFY(reg.printRows(false, &rows));
        ReportRowList source(FactoryNumbersRegister::printFields(), rows);
        const QString header = TfBlockNumRep::headerLine(m_clock.now());
        QVERIFY(header.startsWith("Сведения о заводских номерах. Распечатано "));
        const PreparedReport report = PrepareReport(TfBlockNumRep::layout(header), source);
        QVERIFY2(report.isReady(), qPrintable(report.errorString()));
        const QString path = m_dir->filePath("list.pdf");
        QString error;
        QVERIFY2(WriteReportPdf(report, path, &error), qPrintable(error));
        const QList<PdfPage> pages = ReadPdf(path);
        QCOMPARE(pages.size(), 1);
        const PdfPage &page = pages.first();
        QVERIFY(page.sizeMm.width() > page.sizeMm.height()); // landscape
        const QString text = page.layoutText;
        for (const QString &expected : { header, QStringLiteral("Локомотив"),
                 QStringLiteral("внесения"), QStringLiteral("Блок1"), QStringLiteral("Блок8"),
                 QStringLiteral("1111222233334444"), QStringLiteral("9999888877776666"),
                 QStringLiteral("0000000000000008"), QStringLiteral("10.12.2026"),
                 QStringLiteral("10:00:00") }) {
            QVERIFY2(text.contains(expected), qPrintable(expected));
        }
        QCOMPARE(page.find("внесения").size(), 2);
        QVERIFY(!text.contains("Автоматически")); // Kind, LastD and LastT are not printed
        // Each block number stands under its heading.
        const QRectF heading = page.find("Блок8").first().boxMm;
        const QRectF value = page.find("0000000000000008").first().boxMm;
        QVERIFY(qAbs(heading.left() - value.left()) < 1.0);
        QVERIFY(value.right() < page.sizeMm.width() - 10);
    }

    void aTableThatCannotBeOpenedIsNamedWithItsFolder_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("cannot be opened") << "unopenable";
    }
    void aTableThatCannotBeOpenedIsNamedWithItsFolder()
    {
        QFETCH(QString, how);
        m_window.reset();
        QVERIFY(SpoilTable(m_dir->path(), BlockNumSchema(), how));
        const auto before = FileChecksums(m_dir->path());
        m_window = std::make_unique<TfBlockNum>(m_clock, *m_messages, m_dir->path());
        QCOMPARE(m_messages->errors.size(), 1);
        const QString prefix
            = "Не удается открыть таблицу BlockNum.DB в папке " + m_dir->path() + ": ";
        QVERIFY2(m_messages->errors.first().startsWith(prefix), qPrintable(m_messages->errors.first()));
        QVERIFY(m_messages->errors.first().size() > prefix.size());
        QCOMPARE(m_window->factoryNumbers().model().rowCount(), 0);
        m_window.reset();
        QCOMPARE(FileChecksums(m_dir->path()), before);
    }

    void looksRight()
    {
        QVERIFY(m_window->factoryNumbers().WriteFactoryNumbers(
            "1234567", 2, blocks("1111222233334444"), m_clock.now()));
        m_window->show();
        QVERIFY(m_window->grab().save(QDir::temp().filePath("tfblocknum.png")));
    }

private:
    RecordGrid *grid() { return m_window->findChild<RecordGrid *>("DBGrid1"); }
    QListWidget *fields() { return m_window->findChild<QListWidget *>("clbViewFields"); }

    FakeClock m_clock;
    std::optional<QTemporaryDir> m_dir;
    std::optional<FakeMessages> m_messages;
    std::unique_ptr<TfBlockNum> m_window;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyProgramAppearance(app);
    TestBlockNumWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_blocknumwindow.moc"
