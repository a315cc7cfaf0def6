#include "archivedialog.h"

#include "archive.h"
#include "archiveerror.h"
#include "filedialogs.h"
#include "ini.h"
#include "messages.h"
#include "util.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

QString DefaultArchiveFolder()
{
    return DataFolder() + QStringLiteral("/Archiv");
}

QString ProposedArchivePath(const QString &archiveFolder)
{
    return archiveFolder + QLatin1Char('/') + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".zip");
}

namespace {

const QString SaveCaption = QStringLiteral("Adatbázis mentése");
const QString ZipFilter = QStringLiteral("ZIP archívumok (*.zip)");

bool EnsureFolder(const QString &folder, Messages &messages, QWidget *parent)
{
    if (QDir().mkpath(folder))
        return true;
    messages.ShowError(QStringLiteral("Az archív mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(folder)),
                       parent);
    return false;
}

bool PackReporting(const QString &folder, const QString &zipPath, const QString &password, Messages &messages,
                   QWidget *parent)
{
    try {
        const ArchiveResult result = ArchiveDatabase(folder, zipPath, password);
        if (!result.unchecked.isEmpty())
            messages.ShowWarning(
                QStringLiteral("Az archívum elkészült, de az adatbázisról nem készülhetett ellenőrzött "
                               "másolat: a fájl nyers tartalma került bele (a -wal fájllal együtt). "
                               "Ez a másolat ellenőrizetlen.\n") +
                    result.unchecked,
                parent);
        return true;
    } catch (const ArchiveError &e) {
        messages.ShowError(QStringLiteral("Hiba az archiválás közben\n") + e.message(), parent);
        return false;
    }
}

} // namespace

QString ArchiveDatabaseFolder(const QString &databaseFolder, Messages &messages, FileDialogs &fileDialogs,
                              QWidget *parent, const QString &password)
{
    const QString archiveFolder = DefaultArchiveFolder();
    if (!EnsureFolder(archiveFolder, messages, parent))
        return {};
    const QString zipPath = fileDialogs.SaveFileName(SaveCaption, ProposedArchivePath(archiveFolder), ZipFilter,
                                                     QStringLiteral("zip"), parent);
    if (zipPath.isEmpty())
        return {};
    return PackReporting(databaseFolder, zipPath, password, messages, parent) ? zipPath : QString();
}

bool ArchiveListEntry(const QString &entryFolder, QString &archiveFolder, IniFile &ini, const QString &iniPath,
                      Messages &messages, FileDialogs &fileDialogs, QWidget *parent, const QString &password)
{
    if (archiveFolder.isEmpty() || !QFileInfo(archiveFolder).isDir()) {
        // An empty value is the first use in this run; only a folder that has gone is worth a word.
        if (!archiveFolder.isEmpty())
            messages.ShowError(QStringLiteral("Nem létező mentési útvonal, alapértelmezés visszaállítva."), parent);
        archiveFolder = DefaultArchiveFolder();
        if (!EnsureFolder(archiveFolder, messages, parent))
            return false;
    }
    const QString zipPath = fileDialogs.SaveFileName(SaveCaption, ProposedArchivePath(archiveFolder), ZipFilter,
                                                     QStringLiteral("zip"), parent);
    if (zipPath.isEmpty())
        return false;
    archiveFolder = QFileInfo(zipPath).absolutePath();
    if (!PackReporting(entryFolder, zipPath, password, messages, parent))
        return false;
    ini.writeDate(QStringLiteral("Archive"), QStringLiteral("LastArchive"), QDate::currentDate());
    if (!ini.save(iniPath)) {
        messages.ShowError(QStringLiteral("A beállítófájl nem írható: %1").arg(QDir::toNativeSeparators(iniPath)),
                           parent);
        return false;
    }
    return true;
}
