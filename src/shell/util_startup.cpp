#include "util.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

namespace {

struct State
{
    bool initialised = false;
    StartupValues values;
    QRect workArea;
};

State &Current()
{
    static State state;
    return state;
}

QRect ScreenWorkArea()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            return screen->availableGeometry();
    }
    return QRect(0, 0, 1024, 768);
}

const State &Initialised()
{
    if (!Current().initialised)
        InitStartupValues();
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

void InitStartupValues()
{
    InitStartupValues(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath(),
                      CommonAppDataFolder());
}

void InitStartupValues(const QString &programFolder, const QString &commonDataFolder)
{
    State &s = Current();
    s.values = ComputeStartupValues(programFolder, commonDataFolder);
    s.workArea = ScreenWorkArea();
    s.initialised = true;
}

void SetWorkArea(const QRect &area)
{
    Initialised();
    Current().workArea = area;
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

QRect WorkArea()
{
    return Initialised().workArea;
}

QColor HighlightColor()
{
    return QColor(255, 255, 185);
}

QColor FocusColor()
{
    return QColor(166, 202, 240);
}

QString CommonAppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}
