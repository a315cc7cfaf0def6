#include "settings.h"

#include "engine.h"
#include "ini.h"
#include "messages.h"
#include "session.h"
#include "settingsstore.h"
#include "tfrm_beallit.h"
#include "util.h"

#include <QDir>

namespace {

const QString Defaults = QStringLiteral("Defaults");
const QString Screen = QStringLiteral("Screen");
const QString Export = QStringLiteral("Export");

QString DefaultHtmlFolder()
{
    return DataFolder() + QStringLiteral("/Html");
}

} // namespace

void ReadIniSettings(Session &session)
{
    const IniFile &ini = session.ini;
    session.vissza = ini.readBool(Defaults, QStringLiteral("Vissza"), false);
    session.csakEgyetNyomtat = ini.readBool(Defaults, QStringLiteral("CsakEgyetNyomtat"), false);
    session.fullScreen = ini.readBool(Screen, QStringLiteral("FullScreen"), false);
    session.fontSize = ini.readInt(Defaults, QStringLiteral("FontSize"), 9);
    session.till = ini.readInt(Defaults, QStringLiteral("Cassa"), 1);
    session.tillName = ini.readString(Defaults, QStringLiteral("CassaName"), QStringLiteral("Dromvel"));
    session.htmlFolder = ini.readString(Export, QStringLiteral("Html"), DefaultHtmlFolder());
}

QRect ReadMainWindowBounds(const IniFile &ini)
{
    return {ini.readInt(Screen, QStringLiteral("Left"), 0), ini.readInt(Screen, QStringLiteral("Top"), 0),
            ini.readInt(Screen, QStringLiteral("Width"), 777), ini.readInt(Screen, QStringLiteral("Height"), 550)};
}

bool WriteIniSettings(Session &session, Messages &messages, const QRect &mainWindowBounds)
{
    IniFile &ini = session.ini;
    ini.writeBool(Defaults, QStringLiteral("Vissza"), session.vissza);
    ini.writeBool(Screen, QStringLiteral("FullScreen"), session.fullScreen);
    ini.writeBool(Defaults, QStringLiteral("CsakEgyetNyomtat"), session.csakEgyetNyomtat);
    ini.writeInt(Screen, QStringLiteral("Left"), mainWindowBounds.x());
    ini.writeInt(Screen, QStringLiteral("Top"), mainWindowBounds.y());
    ini.writeInt(Screen, QStringLiteral("Width"), mainWindowBounds.width());
    ini.writeInt(Screen, QStringLiteral("Height"), mainWindowBounds.height());
    ini.writeInt(Defaults, QStringLiteral("FontSize"), session.fontSize);
    ini.writeInt(Defaults, QStringLiteral("Cassa"), session.till);
    ini.writeString(Defaults, QStringLiteral("CassaName"), session.tillName);
    // A session that never read the ini still leaves a usable export folder behind.
    ini.writeString(Export, QStringLiteral("Html"),
                    session.htmlFolder.isEmpty() ? DefaultHtmlFolder() : session.htmlFolder);
    if (session.SaveIni())
        return true;
    messages.ShowError(QStringLiteral("A beállítások nem menthetők, az ini fájl nem írható:\n%1")
                           .arg(QDir::toNativeSeparators(session.iniPath)));
    return false;
}

void ReadSettingsRow(Session &session, Engine &engine)
{
    const SettingsRow row = ReadSettings(engine);
    session.vanBelep = row.vanBelep;
    session.formatFt = row.formatFt;
    session.metodus = ValueOr(row.metodus, 0);
    session.autoNyomtat = row.autoNyomtat;
}

bool BeallitasokMegnyit(Session &session, Engine &engine, FileDialogs &fileDialogs, QWidget *parent)
{
    bool accepted = false;
    try {
        Tfrm_Beallit dialog(session, engine, fileDialogs, parent);
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted)
            dialog.post();
    } catch (...) {
        // The row is read again even when posting failed; the failure itself goes on to the caller.
        try {
            ReadSettingsRow(session, engine);
        } catch (...) {
        }
        throw;
    }
    ReadSettingsRow(session, engine);
    return accepted;
}
