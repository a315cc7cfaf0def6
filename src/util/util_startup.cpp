#include "util.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

struct State
{
    bool initialised = false;
    StartupValues values;
};

State &Current()
{
    static State state;
    return state;
}

const State &Initialised()
{
    if (!Current().initialised)
        InitStartupValues(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath(),
                          CommonAppDataFolder());
    return Current();
}

const QString IniName = QStringLiteral("DromvelPro.ini");

} // namespace

StartupValues ComputeStartupValues(const QString &programFolder, const QString &commonDataFolder)
{
    StartupValues v;
    // cleanPath drops a trailing "/" (but keeps a bare root) and turns native separators into "/".
    v.programFolder = programFolder.isEmpty() ? QString() : QDir::cleanPath(programFolder);
    auto inFolder = [](const QString &folder, const QString &name) {
        if (folder.isEmpty())
            return name;
        return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
    };
    if (!v.programFolder.isEmpty() && QFileInfo::exists(inFolder(v.programFolder, IniName)))
        v.dataFolder = v.programFolder;
    else if (!commonDataFolder.isEmpty())
        v.dataFolder = inFolder(QDir::cleanPath(commonDataFolder), QStringLiteral("DromvelPro"));
    else
        v.dataFolder = v.programFolder;
    v.iniPath = inFolder(v.dataFolder, IniName);
    return v;
}

void InitStartupValues(const QString &programFolder, const QString &commonDataFolder)
{
    State &s = Current();
    s.values = ComputeStartupValues(programFolder, commonDataFolder);
    s.initialised = true;
}

QString ProgramFolder()
{
    return Initialised().values.programFolder;
}

QString DataFolder()
{
    return Initialised().values.dataFolder;
}

QString IniPath()
{
    return Initialised().values.iniPath;
}

QString CommonAppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}
