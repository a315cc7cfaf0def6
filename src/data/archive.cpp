#include "archive.h"

#include "archiveerror.h"
#include "engine.h"
#include "serveraddress.h"
#include "serverarchive.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <sqlite3.h>
#include <vector>
#include <zip.h>

namespace {

const QString DatabaseName = QString::fromLatin1(Engine::FileName);

struct Item
{
    QString path; // on disk
    QString name; // in the archive
};

struct Collected
{
    QList<Item> items;
    bool hasDatabase = false;
    // The database's -wal and -journal, which a raw copy of a damaged database needs beside it.
    QList<Item> logs;
};

// What libzip's callbacks, which cannot throw through libzip, report in our words; the first one counts and
// libzip's own text is the fallback.
struct Failure
{
    QString text;
    void set(const QString &message)
    {
        if (text.isEmpty())
            text = message;
    }
};

// Companions of the live database: a snapshot replaces the database file, and a WAL or journal stored next
// to it would be replayed onto the snapshot when the archive is unpacked.
bool IsDatabaseCompanion(const QString &name)
{
    return name == DatabaseName + QStringLiteral("-wal") || name == DatabaseName + QStringLiteral("-shm") ||
           name == DatabaseName + QStringLiteral("-journal");
}

Collected Collect(const QString &folder, const QString &excludedPath)
{
    Collected result;
    const QFileInfo root(folder);
    if (folder.isEmpty() || !root.isDir())
        throw ArchiveError(QStringLiteral("Nem létező adatbázis mappa: %1").arg(QDir::toNativeSeparators(folder)));
    const QDir dir(root.absoluteFilePath());
    const QString excluded = excludedPath.isEmpty() ? QString() : QFileInfo(excludedPath).absoluteFilePath();
    QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            continue;
        const QString name = dir.relativeFilePath(info.absoluteFilePath());
        if (info.absoluteFilePath() == excluded)
            continue;
        // A pipe, socket or dangling link has no content to store; reading a pipe would hang.
        if (!info.isFile())
            throw ArchiveError(QStringLiteral("Nem közönséges fájl, nem archiválható: %1")
                                   .arg(QDir::toNativeSeparators(info.filePath())));
        if (IsDatabaseCompanion(name)) {
            if (!name.endsWith(QStringLiteral("-shm"))) // an index of the log, rebuilt from it
                result.logs.append({info.filePath(), name});
            continue;
        }
        if (name == DatabaseName)
            result.hasDatabase = true;
        result.items.append({info.filePath(), name});
    }
    std::sort(result.items.begin(), result.items.end(), [](const Item &a, const Item &b) { return a.name < b.name; });
    return result;
}

// ---- libzip sources over Qt devices ---------------------------------------------------------------------------

// One file read through QFile when libzip packs it, so only one file is open at a time and a read error
// names the file.
struct FileSource
{
    QString path;
    QFile file;
    zip_error_t error;
    Failure *failure = nullptr;

    FileSource() { zip_error_init(&error); }
    ~FileSource() { zip_error_fini(&error); }

    zip_int64_t fail(int code, const QString &message)
    {
        zip_error_set(&error, code, EIO);
        failure->set(message);
        return -1;
    }

    static zip_int64_t callback(void *userdata, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
    {
        auto *self = static_cast<FileSource *>(userdata);
        switch (cmd) {
        case ZIP_SOURCE_OPEN:
            self->file.setFileName(self->path);
            if (!self->file.open(QIODevice::ReadOnly))
                return self->fail(ZIP_ER_OPEN,
                                  QStringLiteral("A fájl nem olvasható: %1 (%2)")
                                      .arg(QDir::toNativeSeparators(self->path), self->file.errorString()));
            return 0;
        case ZIP_SOURCE_READ: {
            const qint64 n = self->file.read(static_cast<char *>(data), qint64(len));
            if (n < 0)
                return self->fail(ZIP_ER_READ,
                                  QStringLiteral("A fájl nem olvasható: %1 (%2)")
                                      .arg(QDir::toNativeSeparators(self->path), self->file.errorString()));
            return n;
        }
        case ZIP_SOURCE_CLOSE:
            self->file.close();
            return 0;
        case ZIP_SOURCE_STAT: {
            auto *st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &self->error);
            if (!st)
                return -1;
            const QFileInfo info(self->path);
            zip_stat_init(st);
            st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            st->size = zip_uint64_t(info.size());
            st->mtime = time_t(info.lastModified().toSecsSinceEpoch());
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&self->error, data, len);
        case ZIP_SOURCE_FREE:
            return 0; // owned by the packer
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&self->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    }
};

// The archive itself, written to a QIODevice from its current position. Reading is never needed: the archive
// is always new.
struct DeviceTarget
{
    QIODevice *device = nullptr;
    qint64 base = 0;
    zip_error_t error;
    Failure *failure = nullptr;

    DeviceTarget() { zip_error_init(&error); }
    ~DeviceTarget() { zip_error_fini(&error); }

    zip_int64_t failWrite()
    {
        zip_error_set(&error, ZIP_ER_WRITE, EIO);
        failure->set(QStringLiteral("Az archívum nem írható: %1").arg(device->errorString()));
        return -1;
    }

    static zip_int64_t callback(void *userdata, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
    {
        auto *self = static_cast<DeviceTarget *>(userdata);
        QIODevice *device = self->device;
        switch (cmd) {
        case ZIP_SOURCE_STAT:
            // "No such file": libzip starts a new archive.
            zip_error_set(&self->error, ZIP_ER_READ, ENOENT);
            return -1;
        case ZIP_SOURCE_BEGIN_WRITE:
            self->base = device->pos();
            return 0;
        case ZIP_SOURCE_WRITE: {
            const qint64 n = device->write(static_cast<const char *>(data), qint64(len));
            if (n != qint64(len))
                return self->failWrite();
            return n;
        }
        case ZIP_SOURCE_SEEK_WRITE: {
            const zip_int64_t offset =
                zip_source_seek_compute_offset(zip_uint64_t(device->pos() - self->base),
                                               zip_uint64_t(device->size() - self->base), data, len, &self->error);
            if (offset < 0)
                return -1;
            if (!device->seek(self->base + offset))
                return self->failWrite();
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE:
            return device->pos() - self->base;
        case ZIP_SOURCE_COMMIT_WRITE:
        case ZIP_SOURCE_ROLLBACK_WRITE:
            return 0; // the caller commits or discards the device
        case ZIP_SOURCE_REMOVE:
            return 0; // libzip's way to end an archive without entries; written by the packer
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&self->error, data, len);
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                                  ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_COMMIT_WRITE,
                                                  ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
                                                  ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, -1);
        default:
            zip_error_set(&self->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    }
};

QString ZipMessage(zip_error_t *error)
{
    return QStringLiteral("A zip archívum nem készíthető el: %1")
        .arg(QString::fromLocal8Bit(zip_error_strerror(error)));
}

struct Snapshot
{
    QString failure;   // empty when the copy was taken
    bool busy = false; // the database was being written beyond the waiting time
};

Snapshot TakeSnapshot(const QString &source, const QString &target)
{
    sqlite3 *from = nullptr;
    sqlite3 *to = nullptr;
    // Closes both connections on every way out; the failing one is asked for its message first.
    const auto fail = [&](sqlite3 *failed, int code = SQLITE_OK) {
        Snapshot result;
        result.failure = QStringLiteral("Az adatbázisról nem készíthető másolat: %1\n%2")
                             .arg(QDir::toNativeSeparators(source),
                                  QString::fromUtf8(failed ? sqlite3_errmsg(failed) : "out of memory"));
        if (code == SQLITE_OK)
            code = failed ? sqlite3_errcode(failed) & 0xff : SQLITE_NOMEM;
        result.busy = code == SQLITE_BUSY || code == SQLITE_LOCKED;
        sqlite3_close(from);
        sqlite3_close(to);
        return result;
    };
    // Writable, like any reader of a WAL database, but never created: a missing file is an error.
    if (sqlite3_open_v2(source.toUtf8().constData(), &from, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return fail(from);
    sqlite3_busy_timeout(from, 5000);
    // Closing the last connection would copy the log into the database file and delete it: a damaged
    // database must stay as it lies, for its raw copy and for whoever repairs it.
    sqlite3_db_config(from, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    QFile::remove(target);
    if (sqlite3_open_v2(target.toUtf8().constData(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return fail(to);
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return fail(to);
    // One step copies every page inside a single read transaction, so writers cannot tear the copy.
    int rc;
    int waits = 0;
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (++waits > 100)
            break;
        sqlite3_sleep(50);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        QFile::remove(target);
        // The step's error code lands on the target connection.
        return fail(sqlite3_errcode(to) != SQLITE_OK ? to : from, rc & 0xff);
    }
    sqlite3_close(from);
    sqlite3_close(to);
    return {};
}

// End of central directory with no entries: the archive of a folder without files.
bool WriteEmptyZip(QIODevice &out)
{
    static const char eocd[22] = {'P', 'K', 5, 6};
    return out.write(eocd, sizeof eocd) == sizeof eocd;
}

ArchiveResult Pack(const QString &folder, Collected collected, QIODevice &out)
{
    ArchiveResult result;
    QTemporaryDir snapshotDir;
    QString snapshot;
    if (collected.hasDatabase) {
        if (!snapshotDir.isValid())
            throw ArchiveError(QStringLiteral("Ideiglenes mappa nem hozható létre: %1").arg(snapshotDir.errorString()));
        snapshot = snapshotDir.filePath(DatabaseName);
        const Snapshot taken = TakeSnapshot(QDir(folder).filePath(DatabaseName), snapshot);
        if (taken.busy)
            throw ArchiveError(taken.failure);
        if (!taken.failure.isEmpty()) {
            snapshot.clear();
            result.unchecked = taken.failure;
            collected.items += collected.logs;
            std::sort(collected.items.begin(), collected.items.end(),
                      [](const Item &a, const Item &b) { return a.name < b.name; });
        }
    }

    Failure failure;
    DeviceTarget target;
    target.device = &out;
    target.base = out.pos();
    target.failure = &failure;
    std::vector<std::unique_ptr<FileSource>> sources;

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *archiveSource = zip_source_function_create(&DeviceTarget::callback, &target, &error);
    zip_t *zip = archiveSource ? zip_open_from_source(archiveSource, ZIP_CREATE | ZIP_TRUNCATE, &error) : nullptr;
    if (!zip) {
        const QString message = ZipMessage(&error);
        if (archiveSource)
            zip_source_free(archiveSource);
        zip_error_fini(&error);
        throw ArchiveError(message);
    }
    zip_error_fini(&error);

    const auto giveUp = [&](const QString &message) {
        failure.set(message);
        zip_discard(zip);
        throw ArchiveError(failure.text);
    };

    for (const Item &item : collected.items) {
        auto source = std::make_unique<FileSource>();
        source->path = item.name == DatabaseName && !snapshot.isEmpty() ? snapshot : item.path;
        source->failure = &failure;
        zip_source_t *zs = zip_source_function(zip, &FileSource::callback, source.get());
        if (!zs)
            giveUp(ZipMessage(zip_get_error(zip)));
        const QByteArray name = item.name.toUtf8();
        const zip_int64_t index = zip_file_add(zip, name.constData(), zs, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(zs);
            giveUp(ZipMessage(zip_get_error(zip)));
        }
        sources.push_back(std::move(source));
        if (zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 9) < 0)
            giveUp(ZipMessage(zip_get_error(zip)));
        ++result.entries;
    }

    if (zip_close(zip) < 0)
        giveUp(ZipMessage(zip_get_error(zip)));

    // libzip writes nothing for an archive without entries.
    if (out.pos() == target.base && !WriteEmptyZip(out))
        throw ArchiveError(QStringLiteral("Az archívum nem írható: %1").arg(out.errorString()));
    return result;
}

} // namespace

void SnapshotDatabase(const QString &source, const QString &target)
{
    const Snapshot taken = TakeSnapshot(source, target);
    if (!taken.failure.isEmpty())
        throw ArchiveError(taken.failure);
}

ArchiveResult ArchiveFolder(const QString &folder, QIODevice &out)
{
    return Pack(folder, Collect(folder, QString()), out);
}

ArchiveResult ArchiveFolder(const QString &folder, const QString &zipPath)
{
    const Collected collected = Collect(folder, zipPath);
    QSaveFile file(zipPath);
    if (!file.open(QIODevice::WriteOnly))
        throw ArchiveError(QStringLiteral("Az archívum nem hozható létre: %1 (%2)")
                               .arg(QDir::toNativeSeparators(zipPath), file.errorString()));
    ArchiveResult result;
    try {
        result = Pack(folder, collected, file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw ArchiveError(QStringLiteral("Az archívum nem írható: %1 (%2)")
                               .arg(QDir::toNativeSeparators(zipPath), file.errorString()));
    return result;
}

ArchiveResult ArchiveDatabase(const QString &database, const QString &zipPath, const QString &password)
{
    if (ServerAddress::isServerPath(database))
        return ServerArchive::Write(database, zipPath, password);
    return ArchiveFolder(database, zipPath);
}
