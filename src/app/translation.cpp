#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void InstallRussianTranslation(QCoreApplication &app)
{
    // Dates and numbers in the Russian forms where the system names no language.
    if (QLocale::system().language() == QLocale::C) {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    auto *translator = new QTranslator(&app);
    if (translator->load(
            QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
