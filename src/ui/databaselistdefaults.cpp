#include "databaselistdefaults.h"

#include "dblist.h"
#include "engine.h"
#include "ini.h"
#include "messages.h"
#include "util.h"

#include <QDir>

namespace {

// A new machine has no database yet; a folder holding an empty one lets the first start pick it.
void CreateDefaultDatabase(const QString &folder, Messages &messages)
{
    if (!QDir().mkpath(folder)) {
        messages.ShowError(
            QStringLiteral("Az adatbázis mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    try {
        Engine engine(QStringLiteral("DromvelListaAlap"));
        engine.open(folder);
    } catch (const EngineError &e) {
        messages.ShowError(QStringLiteral("Az adatbázis nem hozható létre: %1\n%2")
                               .arg(QDir::toNativeSeparators(folder), e.message()));
    }
}

} // namespace

bool AdatbazisListaAlap(IniFile &ini, const QString &iniPath, Messages &messages)
{
    bool changed = false;
    for (const QString &folder : DatabaseList::AddDefaults(ini, DataFolder(), &changed))
        CreateDefaultDatabase(folder, messages);
    if (changed && !ini.save(iniPath)) {
        messages.ShowError(QStringLiteral("A beállítófájl nem írható: %1").arg(QDir::toNativeSeparators(iniPath)));
        return false;
    }
    return true;
}
