#include "console/appearance.h"
#include "console/mainform.h"
#include "console/messageboxes.h"
#include "console/program.h"
#include "console/translation.h"
#include "link/clock.h"

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
    Program program(clock, messages);
    program.mainForm().show();
    return QApplication::exec();
}
