#include "blocks/factorynumbers.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "records/resultoutbox.h"
#include "shared/receivedfactorydigits.h"
#include "throwawaycluster.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Answer = OperatorMessages::Answer;
using State = TableEditModel::State;

const QString WriteError = QStringLiteral("Ошибка при записи заводских номеров: ");
const QString Refusal = QStringLiteral("Пришедшую с устройства информацию менять нельзя");

QStringList numbers(const QString &first, const QString &rest = QStringLiteral("0000000000000000"))
{
    QStringList blocks { first };
    for (int k = 2; k <= 8; ++k) {
        blocks.append(rest);
    }
    return blocks;
}

const QDateTime Day1(QDate(2026, 12, 10), QTime(10, 0));
const QDateTime Day2(QDate(2026, 12, 11), QTime(9, 30));

} // namespace

class TestFactoryNumbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_clock.setNow(Day1);
        m_messages.emplace();
        m_register.emplace(m_dir->path(), m_clock, *m_messages);
        QVERIFY2(m_register->open(), qPrintable(m_register->errorText()));
    }
    void cleanup()
    {
        m_register.reset();
        m_dir.reset();
    }

    void theSameNumbersTwiceLeaveOneRowConfirmedLater()
    {
        QVERIFY(write("1234567", numbers("1111222233334444")));
        m_clock.setNow(Day2);
        QVERIFY(write("1234567", numbers("1111222233334444")));
        TableEditModel &model = m_register->model();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.value(0, "d").toDate(), Day1.date());
        QCOMPARE(model.value(0, "t").toTime(), Day1.time());
        QCOMPARE(model.value(0, "LastD").toDate(), Day2.date());
        QCOMPARE(model.value(0, "LastT").toTime(), Day2.time());
        QCOMPARE(model.value(0, "Kind").toInt(), 2);
        QCOMPARE(
            model.index(0, model.columnOfField("KindCapt")).data().toString(), "Автоматически");
        QVERIFY(m_messages->errors.isEmpty());
    }

    void otherNumbersOrAnotherLocomotiveMakeNewRows()
    {
        QVERIFY(write("1234567", numbers("1111222233334444")));
        QVERIFY(write("7654321", numbers("1111222233334444")));
        QVERIFY(write("1234567", numbers("1111222233334445")));
        QVERIFY(write("1234567", numbers("1111222233334444", "0000000000000009")));
        QCOMPARE(m_register->model().rowCount(), 4);
    }

    void aHandRowWithTheSameNumbersBecomesAStationRow()
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        QCOMPARE(model.value(0, "Kind").toInt(), 1); // new rows: by hand, entered now
        QCOMPARE(model.value(0, "d").toDate(), Day1.date());
        QCOMPARE(model.value(0, "t").toTime(), Day1.time());
        QVERIFY(model.value(0, "LastD").isNull());
        model.setValue("Loko", QStringLiteral("1234567"));
        const QStringList blocks = numbers("5555666677778888");
        for (int k = 1; k <= 8; ++k) {
            model.setValue(QString("Block%1").arg(k), blocks.at(k - 1));
        }
        QVERIFY(model.post());
        QCOMPARE(model.index(0, model.columnOfField("KindCapt")).data().toString(), "Вручную");
        QVERIFY(model.edit()); // a hand row can be edited
        model.cancel();

        m_clock.setNow(Day2);
        QVERIFY(write("1234567", blocks));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.value(0, "Kind").toInt(), 2);
        QCOMPARE(model.value(0, "d").toDate(), Day1.date());
        QCOMPARE(model.value(0, "LastD").toDate(), Day2.date());

        QVERIFY(!model.edit());
        QCOMPARE(model.errorText(), Refusal);
        QCOMPARE(model.state(), State::Browse);
        QVERIFY(model.deleteCurrent()); // deleting is not restricted
        QCOMPARE(model.rowCount(), 0);
    }

    void handRowsNeedALokoAndADistinctKey()
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        QVERIFY(!model.post());
        QCOMPARE(model.errorText(), "Запись не сохранена: не заполнено обязательное поле «Локомотив»");
        QCOMPARE(model.state(), State::Insert);
        model.setValue("Loko", QStringLiteral("1"));
        QVERIFY(model.post());
        QVERIFY(model.insert());
        model.setValue("Loko", QStringLiteral("1"));
        QVERIFY(!model.post());
        QCOMPARE(model.errorText(),
            "Запись не сохранена: в таблице BlockNum.DB уже есть запись с теми же значениями "
            "(Локомотив 1)");
        QCOMPARE(model.state(), State::Insert);
    }

    void receivedDigitsBecomeBlockTexts_data()
    {
        QTest::addColumn<QList<int>>("frames"); // block numbers 10..41 that came
        QTest::addColumn<QList<int>>("digits"); // the four digits of every frame
        QTest::addColumn<QStringList>("blocks"); // empty: no row is written
        QTest::newRow("no frame writes nothing")
            << QList<int> {} << QList<int> {} << QStringList {};
        QTest::newRow("only zeros write nothing")
            << QList<int> { 10, 11 } << QList<int> { 0, 0, 0, 0 } << QStringList {};
        QTest::newRow("a block that sent nothing is sixteen zeros") << QList<int> { 10, 11, 12,
            13 } << QList<int> { 1, 2, 3, 4 } << numbers("1234123412341234");
        QTest::newRow("last block, last cells")
            << QList<int> { 41 } << QList<int> { 9, 8, 7, 6 }
            << QStringList { "0000000000000000", "0000000000000000", "0000000000000000",
                   "0000000000000000", "0000000000000000", "0000000000000000", "0000000000000000",
                   "0000000000009876" };
        QTest::newRow("a cell above 9 keeps its place")
            << QList<int> { 10 } << QList<int> { 1, 12, 3, 15 } << numbers("1C3F000000000000");
    }
    void receivedDigitsBecomeBlockTexts()
    {
        QFETCH(QList<int>, frames);
        QFETCH(QList<int>, digits);
        QFETCH(QStringList, blocks);
        ReceivedFactoryDigits received;
        for (int n : std::as_const(frames)) {
            const std::uint8_t four[4] = { std::uint8_t(digits[0]), std::uint8_t(digits[1]),
                std::uint8_t(digits[2]), std::uint8_t(digits[3]) };
            QVERIFY(received.setBlockNumber(n, four));
        }
        m_register->SaveReceivedFactoryNumbers(received, QStringLiteral("1234567"));
        QVERIFY(!HasFactoryDigits(received)); // cleared in every case
        TableEditModel &model = m_register->model();
        QCOMPARE(model.rowCount(), blocks.isEmpty() ? 0 : 1);
        if (!blocks.isEmpty()) {
            QCOMPARE(model.value(0, "Loko").toString(), "1234567");
            for (int k = 1; k <= 8; ++k) {
                QCOMPARE(model.value(0, QString("Block%1").arg(k)).toString(), blocks.at(k - 1));
            }
            QCOMPARE(model.value(0, "Kind").toInt(), 2);
        }
    }

    void aRowInEditIsSavedOrDroppedFirst_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("questions");
        QTest::newRow("yes saves the row") << QList<Answer> { Answer::Yes } << "9" << 2 << 1;
        QTest::newRow("no drops it") << QList<Answer> { Answer::No } << "9" << 1 << 1;
        QTest::newRow("a row that cannot be saved is asked about again")
            << QList<Answer> { Answer::Yes, Answer::Yes, Answer::No } << "" << 1 << 3;
    }
    void aRowInEditIsSavedOrDroppedFirst()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(QString, typed);
        QFETCH(int, rows);
        QFETCH(int, questions);
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        model.setValue("Loko", typed);
        m_messages->answers = answers;
        QVERIFY(write("1234567", numbers("1111222233334444")));
        QCOMPARE(m_messages->questions.size(), questions);
        QCOMPARE(m_messages->questions.first(),
            "Получены данные со ТЕЛВ. Необходимо завершить редактирование строки. Сохранить "
            "изменения?");
        QVERIFY(m_messages->errors.isEmpty()); // the failed saves are not shown
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.state(), State::Browse);
        QVERIFY(!m_register->FactoryNumberWriteInProgress());
    }

    void aTableThatDidNotOpenFailsEveryWrite()
    {
        m_register.reset();
        const QString path = m_dir->filePath(BlockNumSchema().fileName);
        QFile::remove(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("locked by someone");
        file.close();
        FactoryNumbersRegister broken(m_dir->path(), m_clock, *m_messages);
        QVERIFY(!broken.open());

        ReceivedFactoryDigits received;
        const std::uint8_t four[4] = { 1, 2, 3, 4 };
        received.setBlockNumber(10, four);
        broken.SaveReceivedFactoryNumbers(received, QStringLiteral("1234567"));
        QCOMPARE(m_messages->errors.size(), 1);
        QVERIFY(m_messages->errors.first().startsWith(WriteError));
        QVERIFY(m_messages->errors.first().size() > WriteError.size());
        QVERIFY(!HasFactoryDigits(received));
        QVERIFY(!broken.FactoryNumberWriteInProgress());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("locked by someone"));
    }

    // With the register on a server that does not answer, a set received from the
    // station waits on the PC instead of an error box, and reaches the server later
    // as it would have: a known set confirmed, a new one added.
    void setsWaitOnThePcWhileTheServerIsDown()
    {
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const DatabaseLocation location(m_dir->path(), cluster.newDatabase());
        ResultOutbox outbox(location, m_clock);
        FactoryNumbersRegister onServer(location, m_clock, *m_messages);
        onServer.setOutbox(&outbox);
        QVERIFY2(onServer.open(), qPrintable(onServer.errorText()));
        QVERIFY(onServer.WriteFactoryNumbers("1234567", 2, numbers("1111"), Day1));

        QVERIFY(cluster.stop());
        m_clock.setNow(Day2);
        QVERIFY(onServer.WriteFactoryNumbers("1234567", 2, numbers("1111"), Day2));
        QVERIFY(onServer.WriteFactoryNumbers("1234567", 2, numbers("2222"), Day2));
        QCOMPARE(m_messages->errors, QStringList());
        QCOMPARE(outbox.keptRows(), 2);

        QVERIFY(cluster.start());
        QVERIFY(outbox.sendKept());
        QVERIFY(onServer.model().reload());
        TableEditModel &model = onServer.model();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.value(0, "Block1").toString(), "1111");
        QCOMPARE(model.value(0, "d").toDate(), Day1.date());
        QCOMPARE(model.value(0, "LastD").toDate(), Day2.date());
        QCOMPARE(model.value(1, "Block1").toString(), "2222");
        QCOMPARE(model.value(1, "d").toDate(), Day2.date());
    }

    // Two stations on one server, each with the rows it loaded at start: a set the
    // other station added since is confirmed, one the office removed is added again.
    void aSetChangedByAnotherStationIsConfirmedOrAddedAgain()
    {
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const DatabaseLocation location(m_dir->path(), cluster.newDatabase());
        FactoryNumbersRegister first(location, m_clock, *m_messages);
        FactoryNumbersRegister second(location, m_clock, *m_messages);
        QVERIFY2(first.open(), qPrintable(first.errorText()));
        QVERIFY2(second.open(), qPrintable(second.errorText()));

        QVERIFY(first.WriteFactoryNumbers("1234567", 2, numbers("1111"), Day1));
        m_clock.setNow(Day2);
        QVERIFY(second.WriteFactoryNumbers("1234567", 2, numbers("1111"), Day2));
        QCOMPARE(m_messages->errors, QStringList());
        QVERIFY(first.model().reload());
        QCOMPARE(first.model().rowCount(), 1);
        QCOMPARE(first.model().value(0, "d").toDate(), Day1.date());
        QCOMPARE(first.model().value(0, "LastD").toDate(), Day2.date());

        QVERIFY(first.model().setCurrentRow(0) && first.model().deleteCurrent());
        QVERIFY(second.WriteFactoryNumbers("1234567", 2, numbers("1111"), Day2));
        QCOMPARE(m_messages->errors, QStringList());
        QVERIFY(second.model().reload());
        QCOMPARE(second.model().rowCount(), 1);
    }

    void aLocoNumberLongerThanItsFieldIsConfirmedNotDuplicated()
    {
        QVERIFY(write("123456789", numbers("1")));
        QVERIFY(write("123456789", numbers("1")));
        QCOMPARE(m_register->model().rowCount(), 1);
        QCOMPARE(m_register->model().value(0, "Loko").toString(), "12345678");
    }

    void printingCurrentOrAllNumbers()
    {
        // Locomotive 1: a hand row (no LastD), numbers confirmed on day 1 and others
        // on day 2. Locomotive 2: two sets confirmed at the same moment.
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        model.setValue("Loko", QStringLiteral("0000001"));
        model.setValue("Block1", QStringLiteral("HAND"));
        QVERIFY(model.post());
        QVERIFY(write("0000001", numbers("OLD")));
        QVERIFY(write("0000002", numbers("TIE-A")));
        QVERIFY(write("0000002", numbers("TIE-B")));
        m_clock.setNow(Day2);
        QVERIFY(write("0000001", numbers("NEW")));

        QList<QStringList> rows;
        QVERIFY(m_register->printRows(true, &rows));
        QStringList printed;
        for (const QStringList &row : std::as_const(rows)) {
            printed.append(row.at(0) + u' ' + row.at(3));
        }
        QCOMPARE(printed,
            (QStringList { "0000001 HAND", "0000001 NEW", "0000002 TIE-A", "0000002 TIE-B" }));

        QVERIFY(m_register->printRows(false, &rows));
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.first().size(), 11);
        QCOMPARE(
            rows.at(0).mid(0, 4), (QStringList { "0000001", "10.12.2026", "10:00:00", "HAND" }));
    }

private:
    bool write(const QString &loco, const QStringList &blocks)
    {
        return m_register->WriteFactoryNumbers(loco, 2, blocks, m_clock.now());
    }

    FakeClock m_clock;
    std::optional<QTemporaryDir> m_dir;
    std::optional<FakeMessages> m_messages;
    std::optional<FactoryNumbersRegister> m_register;
};

QTEST_GUILESS_MAIN(TestFactoryNumbers)
#include "tst_factorynumbers.moc"
