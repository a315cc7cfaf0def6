#include "maintenancepicture.h"
#include "qtfiledialogs.h"
#include "qtmessages.h"
#include "tfrm_upd_main.h"
#include "util.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Dromvelpro_upd"));
    app.setOrganizationName(QStringLiteral("DromvelPro"));
    // The desktop entry names the program in the task bar: "Dromvel.Pro - adatbázis karbantartás".
    app.setDesktopFileName(QStringLiteral("dromvelpro-upd"));
    app.setWindowIcon(MaintenanceIcon());
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    InitStartupValues(QCoreApplication::applicationDirPath(), CommonAppDataFolder());

    QtMessages messages;
    QtFileDialogs fileDialogs;
    Tfrm_Upd_Main window(messages, fileDialogs);
    window.show();
    return app.exec();
}
