#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void loadTranslations(QCoreApplication &app)
{
    const QLocale locale;
    auto *qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    }
    // Installed beside the program's data; in the build tree, beside the
    // program itself.
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const QString &folder :
        {programs.filePath(QStringLiteral(SLIDANE_TRANSLATIONS_FROM_PROGRAM)), programs.path()}) {
        auto *own = new QTranslator(&app);
        if (own->load(locale, QStringLiteral("slidane-tiles"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(own);
            return;
        }
        delete own;
    }
}
