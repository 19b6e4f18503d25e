// The main window's menu and toolbar.
#include "console/mainformcontrols.h"
#include "console/toolbarimages.h"
#include "widgets/help.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption, int helpTopic = 0)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (helpTopic) {
        Help::setTopic(menu, helpTopic);
        Help::setTopic(menu->menuAction(), helpTopic);
    }
    return menu;
}

QAction *addItem(QMenu *menu, const char *name, const QString &caption, int helpTopic = 0)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (helpTopic) {
        Help::setTopic(action, helpTopic);
    }
    return action;
}

QAction *addSeparator(QMenu *menu, const char *name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

} // namespace

void MainFormLayout::buildMenu(QMenuBar *bar, MainFormControls &c)
{
    using namespace ToolbarImage;

    c.IPort = addMenu(bar, "IPort", QStringLiteral("Порт"), 2);
    c.inom = c.IPort->addMenu(QStringLiteral("Выбор порта"));
    c.inom->setObjectName(QStringLiteral("inom"));
    c.inom->menuAction()->setObjectName(QStringLiteral("inom"));
    // The system's ports go above this separator each time "Порт" opens.
    c.otherPortSeparator = addSeparator(c.inom, "otherPortSeparator");
    c.mOtherPort = addItem(c.inom, "mOtherPort", QStringLiteral("Другой порт…"));
    c.mClosePort = addItem(c.IPort, "mClosePort", QStringLiteral("Прервать соединение"));

    c.ITelv = addMenu(bar, "ITelv", QStringLiteral("Управление"));
    c.IReset = addItem(c.ITelv, "IReset", QStringLiteral("Сброс ТЕЛВ"), 4);
    c.IReset->setIcon(icon(Reset));
    c.N2 = addItem(c.ITelv, "N2", QStringLiteral("Параметры"), 3);
    addSeparator(c.ITelv, "N1");
    c.ICall1 = addItem(c.ITelv, "ICall1", QStringLiteral("Вызов 1"), 11);
    c.ICall1->setIcon(icon(Call1));
    c.ICall2 = addItem(c.ITelv, "ICall2", QStringLiteral("Вызов 2"), 11);
    c.ICall2->setIcon(icon(Call2));

    c.ITest = addMenu(bar, "ITest", QStringLiteral("Тест"));
    c.N14 = addItem(c.ITest, "N14", QStringLiteral("Самотест ТЕЛВ"));
    c.ITest1 = addItem(c.ITest, "ITest1", QStringLiteral("Тест1"), 9);
    c.ITest2 = addItem(c.ITest, "ITest2", QStringLiteral("Тест2"), 10);
    c.ITest3 = addItem(c.ITest, "ITest3", QStringLiteral("Тест3"), 10);

    c.IDB = addMenu(bar, "IDB", QStringLiteral("Результаты"), 8);
    c.N11 = addItem(c.IDB, "N11", QStringLiteral("Результаты самотеста ТЕЛВ"), 8);
    c.N231 = addItem(c.IDB, "N231", QStringLiteral("Результаты тестов 2 и 3"), 8);
    c.IStatistics = addItem(c.IDB, "IStatistics", QStringLiteral("Статистика…"), 8);

    c.N5 = addMenu(bar, "N5", QStringLiteral("Инструменты"), 5);
    c.N12 = addItem(c.N5, "N12", QStringLiteral("Данные о локомотивных РС"));
    c.iBlockNum = addItem(c.N5, "iBlockNum", QStringLiteral("Данные о заводских номерах"));
    c.iBlockNum->setVisible(false);
    c.iBlockNum->setEnabled(false);
    c.iDatabase = addItem(c.N5, "iDatabase", QStringLiteral("База данных…"));
    addSeparator(c.N5, "N13");
    c.N6 = addItem(c.N5, "N6", QStringLiteral("Все сообщения"), 5);
    c.N6->setEnabled(false);
    addSeparator(c.N5, "N7");
    c.N8 = addItem(c.N5, "N8", QStringLiteral("Технологический режим 1"), 5);
    c.N9 = addItem(c.N5, "N9", QStringLiteral("Технологический режим 2"), 5);
    c.N31 = addItem(c.N5, "N31", QStringLiteral("Технологический режим 3"), 5);
    c.N31->setEnabled(false);
    addSeparator(c.N5, "N15");
    c.NT2 = addItem(c.N5, "NT2", QStringLiteral("Тест 2 раз в час"));
    c.NT2->setEnabled(false);
    c.NT2->setCheckable(true);
    c.NT3 = addItem(c.N5, "NT3", QStringLiteral("Тест 3 раз в час"));
    c.NT3->setEnabled(false);
    c.NT3->setCheckable(true);

    c.N4 = addMenu(bar, "N4", QStringLiteral("Справка"));
    c.N3 = addItem(c.N4, "N3", QStringLiteral("Помощь"));
    c.N3->setIcon(icon(ToolbarImage::Help));
    c.N10 = addItem(c.N4, "N10", QStringLiteral("О программе"));
}

namespace {

struct ToolButtonSpec
{
    QAction *MainFormControls::*action;
    const char *name;
    int image; // -1: separator
    const char16_t *hint;
};

} // namespace

void MainFormLayout::buildToolbar(QWidget *client, MainFormControls &c)
{
    using namespace ToolbarImage;
    using C = MainFormControls;
    static const ToolButtonSpec buttons[] = {
        { &C::ToolButton1, "ToolButton1", RadioTest1, u"" },
        { &C::ToolButton2, "ToolButton2", RadioTest2, u"" },
        { &C::ToolButton3, "ToolButton3", RadioTest3, u"" },
        { &C::ToolButton5, "ToolButton5", -1, u"" },
        { &C::ToolButton6, "ToolButton6", Call1, u"Вызов 1" },
        { &C::ToolButton7, "ToolButton7", Call2, u"Вызов 2" },
        { &C::ToolButton9, "ToolButton9", -1, u"" },
        { &C::ToolButton8, "ToolButton8", Reset, u"Сброс" },
        { &C::ToolButton4, "ToolButton4", -1, u"" },
        { &C::ToolButton10, "ToolButton10", SelfTestTable, u"Таблица результатов самотеста ТЕЛВ " },
        { &C::ToolButton11, "ToolButton11", RadioTestTable,
            u"Таблица результатов тестирования РВ (Тест2,3)" },
        { &C::ToolButton12, "ToolButton12", -1, u"" },
        { &C::ToolButton13, "ToolButton13", ToolbarImage::Help, u"" },
    };

    c.ToolBar1 = new QToolBar(client);
    c.ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    c.ToolBar1->setGeometry(0, 0, MainFormLayout::ClientWidth, 29);
    c.ToolBar1->setIconSize(QSize(40, 16));
    c.ToolBar1->setMovable(false);
    c.ToolBar1->setFloatable(false);
    for (const ToolButtonSpec &entry : buttons) {
        QAction *action = nullptr;
        if (entry.image < 0) {
            action = c.ToolBar1->addSeparator();
        } else {
            action = c.ToolBar1->addAction(icon(static_cast<Index>(entry.image)), QString());
            action->setToolTip(QString::fromUtf16(entry.hint));
            QWidget *button = c.ToolBar1->widgetForAction(action);
            button->setObjectName(QLatin1String(entry.name));
            button->setFixedSize(47, 25);
            static_cast<QToolButton *>(button)->setAutoRaise(true);
        }
        action->setObjectName(QLatin1String(entry.name));
        c.*entry.action = action;
        c.toolButtons.append(action);
    }
}
