#include "app/legacyimportmenu.h"

#include "app/program.h"
#include "blocks/windows/blocknumwindow.h"
#include "console/mainform.h"
#include "legacy/legacymigration.h"
#include "legacy/windows/legacyimportdialogs.h"
#include "records/windows/resultbrowsers.h"
#include "records/windows/rvregisterwindow.h"
#include "shared/clock.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {

void showImported(Program &program)
{
    for (TableEditModel *model : { &program.radioRegister().rvRegister().model(),
             &program.blockNumbers().factoryNumbers().model() }) {
        if (!model->isEditing()) {
            model->reload();
        }
    }
    for (ResultBrowserWindow *browser :
        std::initializer_list<ResultBrowserWindow *> { &program.selfTestResults(),
            &program.radioTestResults() }) {
        if (browser->isVisible()) {
            browser->refresh();
        }
    }
}

void importChosenFiles(Program &program)
{
    QWidget *main = &program.mainForm();
    const DatabaseLocation &tables = program.context().recorder.database();
    const QStringList chosen = QFileDialog::getOpenFileNames(main,
        QStringLiteral("Таблицы прежней программы"), tables.directory,
        QStringLiteral("Таблицы Paradox (*.db *.DB *.Db *.dB);;Все файлы (*)"));
    if (chosen.isEmpty()) {
        return;
    }
    LegacyImportDialogs dialogs(main);
    const QString folder = QFileInfo(chosen.front()).absolutePath();
    const bool allInOneFolder = std::all_of(chosen.begin(), chosen.end(),
        [&folder](const QString &path) { return QFileInfo(path).absolutePath() == folder; });
    if (allInOneFolder && chosen.size() >= FindLegacyTableFiles(folder).size()) {
        // The whole folder: its names are read as the file system has them.
        ImportLegacyFolder(folder, tables, program.context().clock.now().date(), dialogs);
    } else {
        QList<QByteArray> paths;
        for (const QString &path : chosen) {
            paths.append(QFile::encodeName(path));
        }
        ImportLegacyFiles(MatchLegacyTableFiles(paths, nullptr), tables, dialogs);
    }
    showImported(program);
}

} // namespace

void AddLegacyImportMenuItem(Program &program)
{
    QMenu *tools = program.mainForm().controls().N5;
    tools->addSeparator()->setObjectName(QStringLiteral("NLegacySeparator"));
    QAction *item = tools->addAction(QStringLiteral("Импорт таблиц прежней программы…"));
    item->setObjectName(QStringLiteral("NLegacyImport"));
    QObject::connect(item, &QAction::triggered, &program.mainForm(),
        [&program] { importChosenFiles(program); });
}
