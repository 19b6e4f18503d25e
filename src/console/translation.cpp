#include "console/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void InstallRussianTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(
            QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
