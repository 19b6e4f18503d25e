#include "console/appearance.h"
#include "console/mainform.h"
#include "console/messageboxes.h"
#include "console/program.h"
#include "console/translation.h"
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
    Program program(
        clock, messages, CurrentDatabaseLocation(EnsureDatabaseAlias().directory), DefaultPortName());
    program.mainForm().show();
    return QApplication::exec();
}
