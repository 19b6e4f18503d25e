#include "bytes.h"
#include "readonlydirectory.h"
#include "receivepath.h"
#include "records/rvlocalcopy.h"
#include "records/rvregister.h"
#include "tabletexts.h"
#include "throwawaycluster.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The real receive path from the station's bytes to the bytes sent back.
struct Station : ReceivePath<ShownView>
{
    explicit Station(AttenuationLookup &lookup)
    {
        receiver.statusCodes().setAttenuationLookup(&lookup);
    }

    // The station asks for the corrections of loco; returns what was sent back.
    QByteArray ask(const QString &loco)
    {
        station.numbers.LocoNumber = loco;
        port.written.clear();
        assembler.HandleReceivedByte(0xCC);
        return port.written;
    }
};

const QString Corrections = QStringLiteral("Коррекция ослабления (МВ, ГМВ): ");
const QString UnreadableLine = QStringLiteral("Коррекция ослабления: ошибка чтения таблицы РВ.db");

} // namespace

class TestRvRegister : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_register.emplace(m_dir->path());
        QVERIFY2(m_register->open(), qPrintable(m_register->errorText()));
    }
    void cleanup()
    {
        m_register.reset();
        m_dir.reset();
    }

    void locoNumbersAreSavedWithLeadingZeros_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("one digit") << "7"
                                   << "0000007";
        QTest::newRow("five digits") << "12345"
                                     << "0012345";
        QTest::newRow("seven digits") << "1234567"
                                      << "1234567";
        QTest::newRow("seven with zeros") << "0000001"
                                          << "0000001";
        QTest::newRow("letters are padded too") << "ТЭ10"
                                                << "000ТЭ10";
    }
    void locoNumbersAreSavedWithLeadingZeros()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        QVERIFY(model.setValue("Lokomotiv", typed));
        QVERIFY(model.setValue("OslablenieM", 3));
        QVERIFY(model.post());
        QCOMPARE(model.state(), TableEditModel::State::Browse);
        QCOMPARE(savedLocos(), QStringList { saved });
        QCOMPARE(model.value(model.currentRow(), "Lokomotiv").toString(), saved);
        QCOMPARE(m_register->find(saved).outcome, AttenuationLookup::Outcome::Found);
    }

    void theSameNumberWithAndWithoutZerosIsOneKey()
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        model.setValue("Lokomotiv", QStringLiteral("42"));
        model.setValue("OslablenieM", 1);
        QVERIFY(model.post());

        QVERIFY(model.insert());
        model.setValue("Lokomotiv", QStringLiteral("0000042"));
        model.setValue("OslablenieM", 9);
        QVERIFY(!model.post());
        // The operator learns which number the zeros made, in words of the register.
        QCOMPARE(model.errorText(),
            "Запись не сохранена: в таблице РВ.db уже есть запись с теми же значениями "
            "(Локомотив 0000042)");
        // The row stays in edit with what was typed; nothing was written.
        QCOMPARE(model.state(), TableEditModel::State::Insert);
        QCOMPARE(model.value(model.currentRow(), "OslablenieM").toInt(), 9);
        QCOMPARE(savedLocos(), QStringList { "0000042" });
        QCOMPARE(m_register->find("0000042").corrections.mv, 1);

        // Changing an existing row onto another's key is refused the same way.
        model.cancel();
        QVERIFY(model.insert());
        model.setValue("Lokomotiv", QStringLiteral("43"));
        QVERIFY(model.post());
        QVERIFY(model.locate([](const QVariantList &v) { return v.at(0) == "0000043"; }));
        QVERIFY(model.edit());
        model.setValue("Lokomotiv", QStringLiteral("42"));
        QVERIFY(!model.post());
        QCOMPARE(model.state(), TableEditModel::State::Edit);
        QCOMPARE(savedLocos(), (QStringList { "0000042", "0000043" }));
    }

    void anEmptyLocoNumberIsRefused()
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        model.setValue("OslablenieM", 5);
        QVERIFY(!model.post());
        QCOMPARE(model.errorText(), "Запись не сохранена: не заполнено обязательное поле «Локомотив»");
        QCOMPARE(savedLocos(), QStringList());
    }

    void correctionsAreSentForTheSavedRow_data()
    {
        QTest::addColumn<QVariant>("mv");
        QTest::addColumn<QVariant>("gmv");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("line");
        QTest::newRow("12 and 7") << QVariant(12) << QVariant(7)
                                  << Bytes("F4 80 80 80 80 81 82 80 87 F5") << Corrections + "12 7";
        QTest::newRow("above 99 sent as 99")
            << QVariant(150) << QVariant(99) << Bytes("F4 80 80 80 80 89 89 89 89 F5")
            << Corrections + "99 99";
        QTest::newRow("empty corrections are 0")
            << QVariant() << QVariant(5) << Bytes("F4 80 80 80 80 80 80 80 85 F5")
            << Corrections + "0 5";
    }
    void correctionsAreSentForTheSavedRow()
    {
        QFETCH(QVariant, mv);
        QFETCH(QVariant, gmv);
        QFETCH(QByteArray, sent);
        QFETCH(QString, line);
        saveRow("1234567", mv, gmv);
        Station station(*m_register);
        QCOMPARE(station.ask("1234567"), sent);
        QCOMPARE(station.view.lines, QStringList { line });
    }

    void anUnknownLocomotiveGetsZeros_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::newRow("not registered") << "7654321";
        QTest::newRow("without its leading zeros") << "42";
        QTest::newRow("quote in the number") << "0000042' OR '1'='1";
    }
    void anUnknownLocomotiveGetsZeros()
    {
        QFETCH(QString, asked);
        saveRow("42", 12, 7);
        Station station(*m_register);
        QCOMPARE(station.ask(asked), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
        QCOMPARE(station.view.lines, QStringList { "Коррекция ослабления: ??" });
    }

    void aRowInEditIsNeitherSentNorLostNorSaved()
    {
        saveRow("1234567", 12, 7);
        TableEditModel &model = m_register->model();
        QVERIFY(model.locate([](const QVariantList &v) { return v.at(0) == "1234567"; }));
        QVERIFY(model.edit());
        model.setValue("OslablenieM", 50);
        model.setValue("OslablenieG", 60);

        Station station(*m_register);
        QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 81 82 80 87 F5"));
        QCOMPARE(model.state(), TableEditModel::State::Edit);
        QVERIFY(model.isModified());
        QCOMPARE(model.value(model.currentRow(), "OslablenieM").toInt(), 50);
        QCOMPARE(m_register->find("1234567").corrections.mv, 12);

        QVERIFY(model.post());
        QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 85 80 86 80 F5"));
    }

    // A register on a server answers the station from the PC's copy: with the
    // server stopped, and in a run that starts without it, the reply carries the
    // saved corrections at once. A change from another PC reaches the copy with the
    // next refresh; a refresh that fails keeps the copy.
    void serverRegisterAnswersFromThePcsCopy()
    {
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const DatabaseLocation location(m_dir->path(), cluster.newDatabase());
        FakeClock clock;
        const QByteArray twelveSeven = Bytes("F4 80 80 80 80 81 82 80 87 F5");
        const QByteArray fiftySixty = Bytes("F4 80 80 80 80 85 80 86 80 F5");
        {
            RvRegister onServer(location);
            QVERIFY2(onServer.open(), qPrintable(onServer.errorText()));
            RvLocalCopy copy(onServer, clock);
            qint64 id = 0;
            QVERIFY(onServer.table().insert({ "1234567", 12, 7 }, &id));
            QVERIFY2(copy.refresh(), qPrintable(copy.errorText()));
            DatabaseTable otherPc(location, RvSchema());
            QVERIFY(otherPc.open(DatabaseTable::OpenMode::ExistingOnly));
            QVERIFY(otherPc.insert({ "7654321", 50, 60 }, &id));
            Station station(copy);
            QCOMPARE(station.ask("7654321"), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
            clock.advance(RvLocalCopy::RefreshIntervalMs);
            QCOMPARE(station.ask("7654321"), fiftySixty);

            QVERIFY(cluster.stop());
            clock.advance(RvLocalCopy::RefreshIntervalMs);
            QElapsedTimer elapsed;
            elapsed.start();
            QCOMPARE(station.ask("1234567"), twelveSeven);
            QVERIFY2(elapsed.elapsed() < DatabaseTable::ServerConnectTimeoutS * 100,
                qPrintable(QString::number(elapsed.elapsed())));
        }
        RvRegister onServer(location);
        QVERIFY(!onServer.open());
        RvLocalCopy copy(onServer, clock);
        QVERIFY(!copy.refresh());
        Station station(copy);
        QCOMPARE(station.ask("7654321"), fiftySixty);
        QVERIFY(cluster.start());
        QVERIFY2(copy.refresh(), qPrintable(copy.errorText()));
        QCOMPARE(onServer.model().rowCount(), 2);
    }

    void aNewRowNotYetSavedIsUnknown()
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.insert());
        model.setValue("Lokomotiv", QStringLiteral("1234567"));
        model.setValue("OslablenieM", 12);
        Station station(*m_register);
        QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
        QCOMPARE(model.state(), TableEditModel::State::Insert);
        QCOMPARE(model.value(model.currentRow(), "Lokomotiv").toString(), "1234567");
    }

    void aFileThatIsNoTableIsLeftAloneAndTheRegisterIsEmpty()
    {
        m_register.reset();
        const QString path = m_dir->filePath(RvSchema().fileName);
        QFile::remove(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a table");
        file.close();

        RvRegister broken(m_dir->path());
        QVERIFY(!broken.open());
        QVERIFY(!broken.errorText().isEmpty());
        QCOMPARE(broken.model().rowCount(), 0);
        QVERIFY(!broken.model().insert());
        Station station(broken);
        QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
        QCOMPARE(station.view.lines, QStringList { UnreadableLine });
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a table"));
    }

    void aTableChangedByAnotherProgramIsAReadFailure()
    {
        saveRow("1234567", 12, 7);
        const QString name = QStringLiteral("other program");
        const QString table = RvSchema().tableName;
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            other.setDatabaseName(m_dir->filePath(RvSchema().fileName));
            QVERIFY(other.open());
            QSqlQuery change(other);
            QVERIFY(change.exec(QStringLiteral("ALTER TABLE %1 RENAME TO Moved").arg(table)));

            Station station(*m_register);
            QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
            QCOMPARE(station.view.lines, QStringList { UnreadableLine });

            QVERIFY(change.exec(QStringLiteral("ALTER TABLE Moved RENAME TO %1").arg(table)));
            change.finish();
            other.close();
        }
        QSqlDatabase::removeDatabase(name);
        Station station(*m_register);
        QCOMPARE(station.ask("1234567"), Bytes("F4 80 80 80 80 81 82 80 87 F5"));
    }

    void rowsSurviveReopeningInKeyOrder()
    {
        for (const char *loco : { "300", "1", "20" }) {
            saveRow(loco, 1, 2);
        }
        m_register.emplace(m_dir->path());
        QVERIFY(m_register->open());
        QCOMPARE(m_register->model().rowCount(), 3);
        QList<QStringList> rows;
        QVERIFY(m_register->reportRows(&rows));
        QCOMPARE(rows,
            (QList<QStringList> {
                { "0000001", "1", "2" }, { "0000020", "1", "2" }, { "0000300", "1", "2" } }));
    }

    void storedValuesBeyondTheShortRangeAreCappedNotWrapped_data()
    {
        // What another program may have stored, as SQL literals.
        QTest::addColumn<QString>("mv");
        QTest::addColumn<QString>("gmv");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("shownMv");
        QTest::newRow("2^31 and below -2^31")
            << "2147483648" << "-2147483649" << Bytes("F4 80 80 80 80 89 89 80 80 F5")
            << "2147483648";
        QTest::newRow("2^32 + 12 and 2^32 + 34, not 12 and 34")
            << "4294967308" << "4294967330" << Bytes("F4 80 80 80 80 89 89 89 89 F5")
            << "4294967308";
        QTest::newRow("largest integer, a real beyond every integer")
            << "9223372036854775807" << "1e30" << Bytes("F4 80 80 80 80 89 89 89 89 F5")
            << "9223372036854775807";
        QTest::newRow("a negative real beyond, a text")
            << "-1e30" << "'abc'" << Bytes("F4 80 80 80 80 80 80 80 80 F5")
            << "-9223372036854775808";
    }
    void storedValuesBeyondTheShortRangeAreCappedNotWrapped()
    {
        QFETCH(QString, mv);
        QFETCH(QString, gmv);
        QFETCH(QByteArray, sent);
        QFETCH(QString, shownMv);
        m_register.reset();
        QVERIFY(ExecOnTableFile(m_dir->filePath(RvSchema().fileName),
            { QStringLiteral("INSERT INTO \"РВ\" VALUES ('0031452', %1, %2)").arg(mv, gmv) }));
        const auto before = FileChecksums(m_dir->path());
        m_register.emplace(m_dir->path());
        QVERIFY(m_register->open());
        Station station(*m_register);
        QCOMPARE(station.ask("0031452"), sent);
        TableEditModel &model = m_register->model();
        QCOMPARE(model.data(model.index(0, 1)).toString(), shownMv);
        m_register.reset();
        QCOMPARE(FileChecksums(m_dir->path()), before);
    }

    void aRegisterInADirectoryThatCannotBeWrittenAnswersWithItsCorrections()
    {
        saveRow("0031452", 12, 34);
        m_register.reset();
        const auto before = FileChecksums(m_dir->path());
        {
            ReadOnlyDirectory readOnly(m_dir->path());
            QVERIFY(readOnly.holds());
            RvRegister stored(m_dir->path());
            QVERIFY2(stored.open(), qPrintable(stored.errorText()));
            QCOMPARE(stored.model().rowCount(), 1);
            Station station(stored);
            QCOMPARE(station.ask("0031452"), Bytes("F4 80 80 80 80 81 82 83 84 F5"));
            QCOMPARE(station.view.lines, QStringList { Corrections + "12 34" });

            // A change cannot be saved, and the operator learns why.
            TableEditModel &model = stored.model();
            QVERIFY(model.insert());
            model.setValue("Lokomotiv", QStringLiteral("7"));
            QVERIFY(!model.post());
            QVERIFY2(model.errorText().contains("только для чтения"), qPrintable(model.errorText()));
            model.cancel();
        }
        QCOMPARE(FileChecksums(m_dir->path()), before);
    }

private:
    void saveRow(const QString &loco, const QVariant &mv, const QVariant &gmv)
    {
        TableEditModel &model = m_register->model();
        QVERIFY(model.append());
        model.setValue("Lokomotiv", loco);
        model.setValue("OslablenieM", mv);
        model.setValue("OslablenieG", gmv);
        QVERIFY2(model.post(), qPrintable(model.errorText()));
    }

    QStringList savedLocos()
    {
        QList<QStringList> rows;
        if (!m_register->reportRows(&rows)) {
            return { m_register->errorText() };
        }
        QStringList locos;
        for (const QStringList &row : std::as_const(rows)) {
            locos.append(row.first());
        }
        return locos;
    }

    std::optional<QTemporaryDir> m_dir;
    std::optional<RvRegister> m_register;
};

QTEST_GUILESS_MAIN(TestRvRegister)
#include "tst_rvregister.moc"
