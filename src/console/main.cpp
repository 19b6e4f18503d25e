#include "console/appearance.h"
#include "console/mainform.h"
#include "console/messageboxes.h"
#include "console/program.h"
#include "console/translation.h"
#include "legacy/legacyimportdialogs.h"
#include "legacy/legacyimportmenu.h"
#include "legacy/legacymigration.h"
#include "link/clock.h"
#include "link/portnames.h"
#include "records/databasealias.h"
#include "records/databaseserver.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("telv2"));
    QApplication::setOrganizationName(QStringLiteral("telv2"));
    ApplyProgramAppearance(app);
    InstallRussianTranslation(app);

    SystemClock clock;
    MessageBoxes messages;
    // The alias is pointed at the tables first of all, as the main window is created.
    const DatabaseLocation tables = CurrentDatabaseLocation(EnsureDatabaseAlias().directory);
    {
        // The earlier program's tables, found where ours belong, before any is opened.
        LegacyImportDialogs dialogs(nullptr);
        OfferLegacyConversion(DatabaseLocation { tables.directory, {} }, clock.now().date(), dialogs);
    }
    Program program(clock, messages, tables, DefaultPortName());
    AddLegacyImportMenuItem(program);
    program.mainForm().show();
    return QApplication::exec();
}
