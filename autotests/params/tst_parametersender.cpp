#include "bytes.h"
#include "parameterfixture.h"
#include "params/parametermessages.h"
#include "params/parametersender.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Record = QStringLiteral("Запись");
const QString Question = QStringLiteral("Параметры изменены и не переданы ТЕЛВ. Передать?");

// What the window would show for the set, with some edits typed over it.
EditTexts Typed(const StationParameters &params, const EditTexts &typed)
{
    EditTexts texts = TextsFromParameters(params);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        texts.insert(it.key(), it.value());
    }
    return texts;
}

struct SenderFixture : ParameterFixture
{
    ParameterSender sender { params(), context.commandBuffer, context.sender, context.recorder,
        messages };

    void markAll()
    {
        for (const ParameterEdit &edit : ParameterEdits()) {
            sender.changes().mark(edit.group);
        }
    }
};

} // namespace

class TestParameterSender : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachSendControlSendsItsGroup_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<EditTexts>("typed");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("changedAfter");
        QTest::addColumn<bool>("serviceWordShown");

        const int all = 0x5F;
        QTest::newRow("service word 123 goes out as 00000123")
            << 0 << EditTexts { { "MaskEdit2", "123" } } << Bytes("E8 80 80 80 80 80 81 82 83 E9")
            << (all & ~0x01) << true;
        QTest::newRow("service word: letters only in the bit sets, by position when read")
            << 0 << EditTexts { { "MaskEdit2", "0b1f1111" } }
            << Bytes("E8 80 8B 81 80 81 81 81 81 E9") << (all & ~0x01) << true;
        QTest::newRow("service word: a short text's letter lands in a number position")
            << 0 << EditTexts { { "MaskEdit2", "A1" } } << Bytes("E8 80 80 80 80 80 80 80 81 E9")
            << (all & ~0x01) << true;
        QTest::newRow("upper and lower thresholds, short texts padded")
            << 1
            << EditTexts { { "MaskEdit3", "12" }, { "MaskEdit4", "34" }, { "MaskEdit5", "5" },
                   { "MaskEdit9", "" }, { "MaskEdit10", "7" }, { "MaskEdit11", "89" } }
            << Bytes("EA 80 80 81 82 83 84 80 85 EB EA 80 81 80 80 80 87 88 89 EB") << (all & ~0x02)
            << false;
        QTest::newRow("channels МВ1")
            << 2 << EditTexts { { "MvEdit0", "123" }, { "MvEdit1", "45" } }
            << Bytes("E4 80 81 81 82 83 80 84 85 E5") << (all & ~0x04) << false;
        QTest::newRow("channels МВ2")
            << 3 << EditTexts { { "MvEdit2", "9" }, { "MvEdit3", "" } }
            << Bytes("E4 80 82 80 80 89 80 80 80 E5") << (all & ~0x08) << false;
        QTest::newRow("channels МВ3")
            << 4 << EditTexts { { "MvEdit4", "321" }, { "MvEdit5", "654" } }
            << Bytes("E4 80 83 83 82 81 86 85 84 E5") << (all & ~0x10) << false;
        QTest::newRow("sensitivity: reserve, МВ and ГМВ attenuation")
            << 6 << EditTexts { { "MaskEdit6", "45" }, { "MaskEdit7", "7" }, { "MaskEdit8", "10" } }
            << Bytes("EA 80 82 84 85 80 87 81 80 EB") << (all & ~0x40) << false;
        QTest::newRow("hex reserve goes out as its value")
            << 6 << EditTexts { { "MaskEdit6", "C0" } } << Bytes("EA 80 82 8C 80 80 80 80 80 EB")
            << (all & ~0x40) << false;
    }
    void eachSendControlSendsItsGroup()
    {
        QFETCH(int, group);
        QFETCH(EditTexts, typed);
        QFETCH(QByteArray, sent);
        QFETCH(int, changedAfter);
        QFETCH(bool, serviceWordShown);

        SenderFixture f;
        f.params().Osl_mw = f.params().osl_gmw = f.params().reserv = QStringLiteral("00");
        f.markAll();
        QSignalSpy shown(&f.sender, &ParameterSender::serviceWordRead);
        f.sender.Send(group, Typed(f.params(), typed));

        QCOMPARE(f.port.written.toHex(' '), sent.toHex(' '));
        QCOMPARE(f.sender.changes().word(), changedAfter);
        QCOMPARE(shown.size() == 1, serviceWordShown);
        QCOMPARE(f.context.commandBuffer.Count(), 0);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void sendAllSendsTheWholeSetAndRecordsIt()
    {
        SenderFixture f;
        f.markAll();
        f.params().PrmMv4 = QStringLiteral("444"); // the fourth group is never sent
        const EditTexts typed { { "MaskEdit1", "12" }, { "MaskEdit2", "30512341" },
            { "MaskEdit3", "12" }, { "MaskEdit4", "34" }, { "MaskEdit5", "56" },
            { "MaskEdit9", "1" }, { "MaskEdit10", "2" }, { "MaskEdit11", "3" },
            { "MaskEdit6", "45" }, { "MaskEdit7", "07" }, { "MaskEdit8", "10" },
            { "MvEdit0", "11" }, { "MvEdit1", "12" }, { "MvEdit2", "21" }, { "MvEdit3", "22" },
            { "MvEdit4", "31" }, { "MvEdit5", "32" } };
        f.sender.Send(ChangedGroups::SendAll, Typed(f.params(), typed));

        StationParameters expected;
        expected.ToolWord = "30512341";
        expected.DeviacD = "12";
        expected.DeviacM = "34";
        expected.DeviacG = "56";
        expected.Deviacd2 = "01";
        expected.DeviacM2 = "02";
        expected.DeviacG2 = "03";
        expected.reserv = "45";
        expected.Osl_mw = "07";
        expected.osl_gmw = "10";
        for (int g = 1; g <= 3; ++g) {
            expected.PrmMv(g) = QStringLiteral("0%1%2").arg(g).arg(1);
            expected.PrdMv(g) = QStringLiteral("0%1%2").arg(g).arg(2);
        }
        CommandBuffer all;
        AppendAllParameterMessages(all, expected);
        QCOMPARE(f.port.written.size(), 190);
        QCOMPARE(f.port.written.toHex(' '), BufferBytes(all).toHex(' '));
        QCOMPARE(f.sender.changes().word(), 0);

        const QList<QStringList> rows = f.tests1Rows();
        QCOMPARE(rows.size(), 1);
        const QStringList &row = rows.first();
        const QList<std::pair<const char *, QString>> fields { { "Event", Record },
            { "Mehanik", "0012" }, { "ResultWord", "" }, { "ResultCod", "" },
            { "ToolWord", "30512341" }, { "PrmMv1", "011" }, { "PrdMv1", "012" },
            { "PrmMv2", "021" }, { "PrdMv2", "022" }, { "PrmMv3", "031" }, { "PrdMv3", "032" },
            { "DeviacD", "12" }, { "DeviacM", "34" }, { "DeviacG", "56" }, { "Deviacd2", "01" },
            { "DeviacM2", "02" }, { "DeviacG2", "03" }, { "Osl_mw", "07" }, { "osl_gmw", "10" },
            { "reserv", "45" } };
        for (const auto &[name, value] : fields) {
            QCOMPARE(ParameterFixture::field(row, name), value);
        }
        QCOMPARE(ParameterFixture::field(row, "Date"), QStringLiteral("2026-12-10"));
    }

    void channelSendCopiesEveryChannelGroupButSendsOne()
    {
        SenderFixture f;
        f.sender.changes().mark(2);
        f.sender.changes().mark(3);
        const EditTexts texts = Typed(f.params(),
            { { "MvEdit0", "101" }, { "MvEdit1", "102" }, { "MvEdit2", "201" },
                { "MvEdit3", "202" }, { "MaskEdit3", "99" } });
        f.sender.Send(3, texts);

        QCOMPARE(f.port.written.toHex(' '), Bytes("E4 80 82 82 80 81 82 80 82 E5").toHex(' '));
        QCOMPARE(f.params().PrmMv1, QStringLiteral("101"));
        QCOMPARE(f.params().PrdMv1, QStringLiteral("102"));
        QCOMPARE(f.params().PrmMv2, QStringLiteral("201"));
        QCOMPARE(f.params().DeviacD, QStringLiteral("00")); // another group: not copied
        QCOMPARE(f.sender.changes().word(), 0x04);

        // The row holds the set as it now stands: МВ1 copied though not sent.
        const QList<QStringList> rows = f.tests1Rows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(ParameterFixture::field(rows.first(), "PrmMv1"), QStringLiteral("101"));
        QCOMPARE(ParameterFixture::field(rows.first(), "DeviacD"), QStringLiteral("00"));

        // МВ1 is still marked, so closing asks; No sends nothing more.
        f.messages.answers = { OperatorMessages::Answer::No };
        f.sender.Close(texts);
        QCOMPARE(f.messages.questions, QStringList { Question });
        QCOMPARE(f.port.written.size(), 10);
        QCOMPARE(f.tests1Rows().size(), 1);
    }

    void failedSendStillClearsTheGroupAndRecords()
    {
        SenderFixture f;
        f.port.open = false;
        f.markAll();
        f.sender.Send(0, TextsFromParameters(f.params()));
        QCOMPARE(f.sender.changes().word(), 0x5F & ~0x01);
        QCOMPARE(f.tests1Rows().size(), 1);
        f.clock.advance(10 * 50);
        QCOMPARE(f.messages.errors, QStringList { QStringLiteral("Ошибка передачи!") });
    }

    void closing_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("mehanik");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("bytesSent");
        QTest::addColumn<QString>("mehanikAfter");
        QTest::addColumn<bool>("access");

        const int yes = int(OperatorMessages::Answer::Yes);
        const int no = int(OperatorMessages::Answer::No);
        QTest::newRow("nothing changed asks nothing")
            << false << yes << "12" << false << 0 << "12" << false;
        QTest::newRow("changed, No: nothing sent, number as typed")
            << true << no << "12" << true << 0 << "12" << false;
        QTest::newRow("changed, Yes: the whole set, number padded")
            << true << yes << "12" << true << 190 << "0012" << false;
        QTest::newRow("access code") << false << yes << "9316" << false << 0 << "9316" << true;
        QTest::newRow("access code after Yes")
            << true << yes << "9316" << true << 190 << "9316" << true;
        QTest::newRow("access code with a leading zero")
            << false << yes << "09316" << false << 0 << "09316" << false;
        QTest::newRow("access code with a space")
            << false << yes << "9316 " << false << 0 << "9316 " << false;
        QTest::newRow("empty number") << false << yes << "" << false << 0 << "" << false;
    }
    void closing()
    {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(QString, mehanik);
        QFETCH(bool, asked);
        QFETCH(int, bytesSent);

        SenderFixture f;
        if (changed) {
            f.sender.changes().mark(ChangedGroups::Thresholds);
        }
        f.messages.answers = { OperatorMessages::Answer(answer) };
        const bool access = f.sender.Close(Typed(f.params(), { { "MaskEdit1", mehanik } }));

        QCOMPARE(f.messages.questions.size() == 1, asked);
        QCOMPARE(f.port.written.size(), bytesSent);
        QCOMPARE(f.tests1Rows().size(), bytesSent > 0 ? 1 : 0);
        QTEST(f.params().Mehanik, "mehanikAfter");
        QTEST(access, "access");
        QCOMPARE(f.sender.changes().any(), changed && bytesSent == 0);
    }
};

QTEST_GUILESS_MAIN(TestParameterSender)
#include "tst_parametersender.moc"
