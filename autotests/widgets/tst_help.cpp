#include "modaldialog.h"

#include "widgets/help.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWindow>

namespace {

// Counts the key presses that reach a window's widgets.
class KeyCounter final : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

// Whether the operator can type into the window: keys typed on the desktop reach
// it, unless a modal window blocks it.
bool TakesKeys(QWidget *window)
{
    if (window == nullptr || !window->isVisible() || window->windowHandle() == nullptr) {
        return false;
    }
    KeyCounter counter;
    window->installEventFilter(&counter);
    const auto focused = window->findChildren<QWidget *>();
    for (QWidget *child : focused) {
        child->installEventFilter(&counter);
    }
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    return counter.presses > 0;
}

QDialog *ModalDialog(QWidget *parent = nullptr)
{
    auto *dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->resize(200, 100);
    Help::setTopic(dialog, 3);
    return dialog;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openedFromAModalWindowTakesKeysAtOnce()
    {
        Help::Viewer help;
        QDialog dialog;
        Help::setTopic(&dialog, 3);
        bool usable = false;
        RunModal(dialog, [&] {
            QTest::keyClick(&dialog, Qt::Key_F1);
            QCOMPARE(help.shownTopic(), 3);
            usable = TakesKeys(help.window());
        });
        QVERIFY(usable);
        QVERIFY(help.window()->isVisible());
        QVERIFY(TakesKeys(help.window()));
    }

    void alreadyOpenComesOverTheModalWindow()
    {
        Help::Viewer help;
        help.showContents();
        const QRect placed = help.window()->geometry();
        QDialog dialog;
        Help::setTopic(&dialog, 8);
        bool blockedBefore = true;
        bool usable = false;
        RunModal(dialog, [&] {
            blockedBefore = !TakesKeys(help.window());
            QTest::keyClick(&dialog, Qt::Key_F1);
            usable = TakesKeys(help.window());
        });
        QVERIFY(blockedBefore);
        QVERIFY(usable);
        QCOMPARE(help.window()->geometry().size(), placed.size());
    }

    void outlivesAModalWindowThatIsDeletedOnClose()
    {
        Help::Viewer help;
        QPointer<QDialog> dialog = ModalDialog();
        QPointer<QWidget> helpWindow;
        RunModal(*dialog, [&] {
            QTest::keyClick(dialog, Qt::Key_F1);
            helpWindow = help.window();
            dialog->close();
        });
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(!helpWindow.isNull());
        QVERIFY(helpWindow->isVisible());
        QVERIFY(TakesKeys(helpWindow));
    }

    void followsNestedModalWindows()
    {
        // F1 in a message box opened from a modal dialog: the box is deleted once
        // answered, the dialog stays open and the help stays usable over it.
        Help::Viewer help;
        QDialog dialog;
        Help::setTopic(&dialog, 5);
        bool usableOverDialog = false;
        RunModal(dialog, [&] {
            auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("ТЕЛВ-2"),
                QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No, &dialog);
            box->setAttribute(Qt::WA_DeleteOnClose);
            WhenOpened(*box, [&] {
                QTest::keyClick(box, Qt::Key_F1);
                QVERIFY(TakesKeys(help.window()));
            });
            box->exec();
            QTest::keyClick(&dialog, Qt::Key_F1);
            usableOverDialog = TakesKeys(help.window());
        });
        QVERIFY(usableOverDialog);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
