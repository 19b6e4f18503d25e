// The alias naming a server, the choice of where the tables are, and its dialog.
#include "throwawaycluster.h"

#include "records/databasealias.h"
#include "records/databaseserver.h"
#include "records/windows/databasedialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

class TestDatabaseServer : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ThrowawayCluster> m_cluster;
    QString m_database;

    ServerAddress clusterServer(const QString &database) const
    {
        return m_cluster->address(database);
    }

    static QByteArray aliasFile()
    {
        QFile file(DatabaseAliasFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cluster = std::make_unique<ThrowawayCluster>();
        QVERIFY2(m_cluster->isRunning(), qPrintable(m_cluster->errorText()));
        m_database = m_cluster->createDatabase();
        QVERIFY(!m_database.isEmpty());
    }

    void init()
    {
        QFile::remove(DatabaseAliasFile());
        EnsureDatabaseAlias(QDir::tempPath());
    }

    // The server is kept beside the alias's directory, without a password, and
    // dropped again without touching the directory.
    void aliasNamesAServerAndTheDirectoryAgain()
    {
        const QByteArray before = aliasFile();
        const ServerAddress server { "db.depot", 6543, "telv", "station3" };
        QVERIFY(WriteAliasServer(server));
        QCOMPARE(ReadAliasServer(), server);
        QVERIFY(!aliasFile().toLower().contains("pass"));
        QCOMPARE(CurrentDatabaseLocation("/tables/").server, server);
        QVERIFY(CurrentDatabaseLocation("/tables/").onServer());

        QVERIFY(WriteAliasServer(std::nullopt));
        QCOMPARE(ReadAliasServer(), std::nullopt);
        QCOMPARE(aliasFile(), before);
        QVERIFY(!CurrentDatabaseLocation("/tables/").onServer());
    }

    // A server is recorded only once it has answered.
    void serverIsChosenOnlyWhenItAnswers_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("socketThere");
        QTest::addColumn<QString>("error");
        QTest::newRow("answers") << "" << "telv" << true << "";
        QTest::newRow("no database named") << " " << "telv" << true << "Укажите базу данных";
        QTest::newRow("no user named") << "" << "" << true << "Укажите базу данных";
        QTest::newRow("database missing") << "nosuch" << "telv" << true << "Нет связи с сервером";
        QTest::newRow("nothing listening") << "" << "telv" << false << "Нет связи с сервером";
    }

    void serverIsChosenOnlyWhenItAnswers()
    {
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(bool, socketThere);
        QFETCH(QString, error);
        ServerAddress server = clusterServer(database.isEmpty() ? m_database : database);
        server.user = user;
        if (!socketThere) {
            server.host = QDir::tempPath() + "/no-server-here";
        }
        const QByteArray before = aliasFile();
        QString text;
        QCOMPARE(ChooseDatabase(server, &text), error.isEmpty());
        QVERIFY2(error.isEmpty() ? text.isEmpty() : text.startsWith(error), qPrintable(text));
        if (error.isEmpty()) {
            QCOMPARE(ReadAliasServer(), server);
            QVERIFY(ChooseDatabase(std::nullopt, &text));
            QCOMPARE(ReadAliasServer(), std::nullopt);
        } else {
            QCOMPARE(aliasFile(), before);
        }
    }

    // The dialog as a technician uses it: the server's fields, "Проверить", then
    // "Сохранить", which holds from the next start; and back to "Каталог".
    void dialogTestsAndSavesTheChoice()
    {
        TDatabaseDialog dialog { DatabaseLocation(QDir::tempPath()) };
        dialog.show();
        auto *current = dialog.findChild<QLabel *>("CurrentDatabase");
        QVERIFY(current->text().contains("Каталог"));
        auto *directory = dialog.findChild<QRadioButton *>("DirectoryChoice");
        auto *server = dialog.findChild<QRadioButton *>("ServerChoice");
        auto *host = dialog.findChild<QLineEdit *>("ServerHost");
        auto *status = dialog.findChild<QLabel *>("ConnectionStatus");
        QVERIFY(directory->isChecked());
        QVERIFY(!host->isEnabled());

        server->click();
        QVERIFY(host->isEnabled());
        host->setText(m_cluster->socketDirectory());
        dialog.findChild<QSpinBox *>("ServerPort")->setValue(ThrowawayCluster::Port);
        dialog.findChild<QLineEdit *>("ServerDatabase")->setText("nosuch");
        dialog.findChild<QLineEdit *>("ServerUser")->setText(ThrowawayCluster::ClusterUser);
        auto *test = dialog.findChild<QPushButton *>("TestButton");
        auto *save = dialog.findChild<QPushButton *>("SaveButton");
        test->click();
        QVERIFY2(status->text().startsWith("Нет связи с сервером"), qPrintable(status->text()));
        save->click();
        QCOMPARE(ReadAliasServer(), std::nullopt);

        dialog.findChild<QLineEdit *>("ServerDatabase")->setText(m_database);
        test->click();
        QCOMPARE(status->text(), "Соединение с сервером установлено");
        const QString before = current->text();
        save->click();
        QCOMPARE(status->text(),
            "Настройка сохранена. Она будет действовать со следующего запуска программы.");
        QCOMPARE(ReadAliasServer(), clusterServer(m_database));
        // The run goes on where it started.
        QCOMPARE(current->text(), before);

        directory->click();
        save->click();
        QCOMPARE(ReadAliasServer(), std::nullopt);
    }
};

QTEST_MAIN(TestDatabaseServer)
#include "tst_databaseserver.moc"
