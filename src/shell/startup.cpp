#include "startup.h"

#include "application.h"
#include "choosers.h"
#include "databaselistdefaults.h"
#include "dblist.h"
#include "engine.h"
#include "messages.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "serverlogin.h"
#include "session.h"
#include "settings.h"
#include "starttill.h"
#include "tfrm_adatbazisnyitbde.h"
#include "tfrm_login.h"
#include "tfrm_main.h"
#include "util.h"
#include "workarea.h"

#include <QDir>

namespace {

// The default entries are written only when the list is empty and no older single-database key exists.
bool ListWillGetDefaults(const IniFile &ini)
{
    return ini.readString(QStringLiteral("database"), QStringLiteral("path")).isEmpty() &&
           ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1")).isEmpty();
}

// A new test database gets sample master data so that a first start has something to show.
void FillTestDatabase(const QString &folder, Messages &messages)
{
    try {
        Engine engine(QStringLiteral("DromvelSample"));
        engine.open(folder);
        FillSampleData(engine);
        FillSampleVouchers(engine);
    } catch (const EngineError &e) {
        messages.ShowError(QStringLiteral("A minta adatok nem írhatók a teszt adatbázisba:\n") + e.message());
    }
}

// Shows the picker until a database opens; false when the user cancels. Giving up at a server's password
// leads back to the picker, as a database that cannot be opened does.
bool ChooseDatabase(Session &session, Engine &engine, Messages &messages)
{
    const QStringList entries = DatabaseList::Read(session.ini);
    for (;;) {
        const int chosen = AdatbazisValaszt(DatabaseList::Names(entries), entries,
                                            QStringLiteral("Dromvel.Pro program adatbázis választás"), messages);
        if (chosen < 0)
            return false;
        const QString folder = DatabaseList::EntryFolder(entries.at(chosen));
        try {
            if (!OpenAskingPassword(engine, folder))
                continue;
            session.databaseFolder = folder;
            if (engine.madeFromEmptyFile())
                messages.ShowWarning(QStringLiteral("Az adatbázis fájlja üres volt (0 bájt), ezért a program új, üres "
                                                    "adatbázist hozott létre benne:\n%1\nHa ebben az adatbázisban "
                                                    "könyvelésnek kellene lennie, állítsa vissza a legutóbbi "
                                                    "biztonsági mentésből.")
                                         .arg(QDir::toNativeSeparators(engine.filePath())));
            for (const QString &warning : engine.indexWarnings())
                messages.ShowWarning(warning);
            return true;
        } catch (const EngineError &e) {
            messages.ShowError(QStringLiteral("Az adatbázis nem nyitható meg:\n") + e.message());
        }
    }
}

} // namespace

int RunDromvelPro(DromvelApplication &app, Messages &messages, FileDialogs &fileDialogs)
{
    InitStartupValues(QCoreApplication::applicationDirPath(), CommonAppDataFolder());
    Session session;
    session.iniPath = IniPath();
    if (!session.ini.load(session.iniPath))
        messages.ShowError(QStringLiteral("A beállítások fájlja nem olvasható:\n%1\nA program az alapértékekkel indul, "
                                          "a fájlt nem írja felül.")
                               .arg(QDir::toNativeSeparators(session.iniPath)));

    const bool firstStart = ListWillGetDefaults(session.ini);
    AdatbazisListaAlap(session.ini, session.iniPath, messages);
    if (firstStart)
        FillTestDatabase(DatabaseList::EntryFolder(DatabaseList::Read(session.ini).value(0)), messages);

    Engine engine(QStringLiteral("Dromvel"));
    if (!ChooseDatabase(session, engine, messages))
        return 0;

    try {
        ReadIniSettings(session);
        QDir().mkpath(session.htmlFolder);
        ReadSettingsRow(session, engine);
        if (session.vanBelep) {
            if (!Belepes(session, engine, messages))
                return 0;
        } else {
            session.user = QStringLiteral("rendszergazda");
            session.userName = QStringLiteral("rendszergazda");
            session.admin = true;
            session.masterEdit = true;
        }

        session.openDay = QDate::currentDate();
        QString tillName;
        const int till = ChooseStartTill(
            session, engine, messages,
            [&session, &engine, &messages](int current, bool choose, QString *name, QWidget *parent) {
                return KasszaValaszt(session, engine, messages, current, choose, name, parent);
            },
            &tillName);
        if (till == -1)
            return 0;

        Tfrm_Main window(session, engine, messages, fileDialogs);
        window.setGeometry(ReadMainWindowBounds(session.ini));
        window.TillSwitch(till, tillName);
        if (session.fullScreen) {
            const QRect area = WorkArea();
            window.setGeometry(0, 0, area.x() + area.width(), area.y() + area.height());
        }
        window.BalanceDisplay();
        window.show();
        // The chooser that closed just before held the focus; hand it to the main window.
        window.raise();
        window.activateWindow();
        window.WarnOverdueAdvances();
        return app.exec();
    } catch (const EngineError &e) {
        messages.ShowApplicationError(e.message());
        return 1;
    }
}
