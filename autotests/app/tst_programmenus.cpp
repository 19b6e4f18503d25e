#include "console/mainform.h"
#include "programfixture.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <utility>

namespace {

// QObject::receivers is protected; a pointer to it formed through a derived class
// may be used on any object.
struct SignalReceivers : QObject
{
    static int of(const QObject *object, const char *signal)
    {
        return (object->*&SignalReceivers::receivers)(signal);
    }
};

// The receivers of triggered() that the menu or toolbar holding an item connects by
// itself, measured on an item added for the purpose.
int ownReceivers(QWidget *holder)
{
    QAction probe;
    holder->addAction(&probe);
    const int count = SignalReceivers::of(&probe, SIGNAL(triggered(bool)));
    holder->removeAction(&probe);
    return count;
}

// Every item of the menu and its submenus that does something when chosen, with the
// menu that holds it.
void collectItems(QMenu *menu, QList<std::pair<QAction *, QWidget *>> &items)
{
    for (QAction *action : menu->actions()) {
        if (action->menu()) {
            collectItems(action->menu(), items);
        } else if (!action->isSeparator()) {
            items.append({ action, menu });
        }
    }
}

} // namespace

class TestProgramMenus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The menus and the toolbar are wired in one place; none may be left out.
    void everyMenuItemAndToolbarButtonDoesSomething()
    {
        ProgramFixture f;
        QList<std::pair<QAction *, QWidget *>> items;
        for (QAction *menu : f.form().menuBar()->actions()) {
            collectItems(menu->menu(), items);
        }
        for (QAction *button : f.ui().toolButtons) {
            if (!button->isSeparator()) {
                items.append({ button, f.ui().ToolBar1 });
            }
        }
        QVERIFY(items.size() > 30);
        for (const auto &[item, holder] : items) {
            QVERIFY2(SignalReceivers::of(item, SIGNAL(triggered(bool))) > ownReceivers(holder),
                qPrintable(item->objectName()));
        }
        QVERIFY(SignalReceivers::of(f.ui().IPort, SIGNAL(aboutToShow())) > 0);
        QVERIFY(SignalReceivers::of(f.ui().portGroup, SIGNAL(triggered(QAction *))) > 0);
    }
};

QTEST_MAIN(TestProgramMenus)
#include "tst_programmenus.moc"
