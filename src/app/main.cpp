#include "app/commandline.h"
#include "app/program.h"
#include "app/translation.h"
#include "console/aboutbox.h"
#include "console/mainform.h"
#include "legacy/legacymigration.h"
#include "legacy/windows/legacyimportdialogs.h"
#include "link/portnames.h"
#include "records/databasealias.h"
#include "records/databaseserver.h"
#include "shared/clock.h"
#include "widgets/appearance.h"
#include "widgets/messageboxes.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Answered before the window toolkit starts, so that no display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream out(stdout);
    if (const std::optional<int> exitCode = AnswerCommandLine(arguments, out)) {
        return *exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("telv2"));
    QApplication::setOrganizationName(QStringLiteral("telv2"));
    // The menu entry and the icon that the package installs; a portable copy finds
    // no icon and keeps the window system's own.
    QGuiApplication::setDesktopFileName(QStringLiteral("telv2"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("telv2")));
    ApplyProgramAppearance(app);
    InstallRussianTranslation(app);

    SystemClock clock;
    MessageBoxes messages;
    // The alias is pointed at the tables first of all, as the main window is created.
    const DatabaseAlias tables = EnsureDatabaseAlias();
    const DatabaseLocation location = CurrentDatabaseLocation(tables.directory);
    {
        // The earlier program's tables, found where ours belong, before any is opened.
        LegacyImportDialogs dialogs(nullptr);
        OfferLegacyConversion(DatabaseLocation { location.directory, {} }, clock.now().date(), dialogs);
    }
    Program program(clock, messages, location, DefaultPortName());
    const bool inFolder = !location.onServer();
    if (inFolder) {
        program.aboutBox().setDatabase(
            DescribeLocation(location) + QStringLiteral(" (%1)").arg(tables.reason));
    }
    program.mainForm().show();
    if (inFolder && !tables.notice.isEmpty()) {
        QMessageBox::information(
            &program.mainForm(), QStringLiteral("ТЕЛВ-2"), tables.notice);
    }
    return QApplication::exec();
}
