#include "hungarianlocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void UseHungarianLocale(QCoreApplication &app)
{
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    auto *translator = new QTranslator(&app);
    if (translator->load(hungarian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    QLocale::setDefault(hungarian);
}
