#include "hungarianlocale.h"
#include "productpicture.h"
#include "qtfiledialogs.h"
#include "qtmessages.h"
#include "tfrm_upd_main.h"
#include "util.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Dromvelpro_upd"));
    app.setOrganizationName(QStringLiteral("DromvelPro"));
    // The desktop entry names the program in the task bar: "Dromvel.Pro - adatbázis karbantartás".
    app.setDesktopFileName(QStringLiteral("dromvelpro-upd"));
    app.setWindowIcon(ProgramIcon(ProductProgram::Maintenance));
    UseHungarianLocale(app);
    InitStartupValues(QCoreApplication::applicationDirPath(), CommonAppDataFolder());

    QtMessages messages;
    QtFileDialogs fileDialogs;
    Tfrm_Upd_Main window(messages, fileDialogs);
    window.show();
    return app.exec();
}
