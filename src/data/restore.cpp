#include "restore.h"

#include "archiveerror.h"
#include "engine.h"
#include "ledgercheck.h"
#include "ledgercontent.h"
#include "query.h"
#include "serveraddress.h"
#include "serverarchive.h"
#include "servertool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <zip.h>

namespace {

const QString DatabaseName = QString::fromLatin1(Engine::FileName);
const QString DumpName = QString::fromLatin1(ServerArchive::DumpName);

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString ZipText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

ArchiveError Foreign(const QString &zipPath, const QString &why)
{
    return ArchiveError(QStringLiteral("A választott fájl nem a Dromvel.Pro programmal készült adatbázis-archívum: "
                                       "%1\n%2")
                            .arg(Native(zipPath), why));
}

ArchiveError Damaged(const QString &zipPath, const QString &why)
{
    return ArchiveError(QStringLiteral("Az archívum sérült, nem állítható vissza: %1\n%2").arg(Native(zipPath), why));
}

void CheckTarget(const QString &target, const QString &openFolder)
{
    const QFileInfo info(target);
    if (target.isEmpty() || !info.isDir())
        throw ArchiveError(QStringLiteral("Nem létező mappa: %1").arg(Native(target)));
    // Compared as the file system resolves them, so a link or a trailing separator does not hide the folder.
    const QString canonical = info.canonicalFilePath();
    const QString open = openFolder.isEmpty() ? QString() : QFileInfo(openFolder).canonicalFilePath();
    if (!open.isEmpty() && (canonical == open || canonical.startsWith(open + QLatin1Char('/'))))
        throw ArchiveError(QStringLiteral("A visszaállítás célja nem lehet a megnyitott adatbázis mappája, sem annak "
                                          "almappája: %1\nVálasszon másik, üres mappát.")
                               .arg(Native(target)));
    if (!QDir(target).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        throw ArchiveError(
            QStringLiteral("A cél mappa nem üres: %1\nA visszaállításhoz üres mappát válasszon.").arg(Native(target)));
}

// The entry's path inside the folder; empty when it would land outside it (absolute, "..") or names nothing.
QString PathInside(QString name)
{
    if (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return {};
    for (const QString &part : name.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return {};
    return name;
}

// A database folder's archive holds the database file; a server database's archive holds the server's dump.
enum class Kind {
    Folder,
    Server,
};

struct Entry
{
    zip_uint64_t index = 0;
    QString path; // inside the folder
    bool folder = false;
};

// The archive, read only; discarded on every way out.
class ZipReader
{
public:
    explicit ZipReader(const QString &zipPath) : m_path(zipPath)
    {
        int code = 0;
        m_zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
        if (m_zip)
            return;
        switch (code) {
        case ZIP_ER_NOENT:
        case ZIP_ER_OPEN:
        case ZIP_ER_READ:
            throw ArchiveError(
                QStringLiteral("Az archívum nem olvasható: %1 (%2)").arg(Native(zipPath), ZipText(code)));
        case ZIP_ER_NOZIP:
            throw Foreign(zipPath, QStringLiteral("A fájl nem zip archívum, vagy a vége hiányzik."));
        default:
            throw Damaged(zipPath, ZipText(code));
        }
    }
    ~ZipReader() { zip_discard(m_zip); }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // Every entry, once it is clear that the archive is one the program made.
    QList<Entry> entries() const
    {
        QList<Entry> result;
        QSet<QString> seen;
        bool hasDatabase = false;
        bool hasDump = false;
        const zip_int64_t count = zip_get_num_entries(m_zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            if (zip_stat_index(m_zip, zip_uint64_t(i), 0, &st) < 0)
                throw Damaged(m_path, QString::fromLocal8Bit(zip_strerror(m_zip)));
            const QString name = QString::fromUtf8(st.name);
            const QString path = PathInside(name);
            if (path.isEmpty())
                throw Foreign(m_path, QStringLiteral("A(z) „%1” bejegyzés nem a mappán belüli útvonal.").arg(name));
            if (seen.contains(path))
                throw Foreign(m_path, QStringLiteral("A(z) „%1” kétszer szerepel benne.").arg(path));
            if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
                throw Foreign(m_path, QStringLiteral("A(z) „%1” jelszóval védett.").arg(path));
            seen.insert(path);
            const bool folder = name.endsWith(QLatin1Char('/'));
            hasDatabase = hasDatabase || (path == DatabaseName && !folder);
            hasDump = hasDump || (path == DumpName && !folder);
            result.append({zip_uint64_t(i), path, folder});
        }
        if (hasDatabase)
            m_kind = Kind::Folder;
        else if (hasDump)
            m_kind = Kind::Server;
        else
            throw Foreign(m_path, QStringLiteral("Nincs benne %1 adatbázis fájl.").arg(DatabaseName));
        return result;
    }

    // What the archive holds, known once entries() has read it.
    Kind kind() const { return m_kind; }

    void extract(const Entry &entry, const QString &filePath) const
    {
        QFile out(filePath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw ArchiveError(
                QStringLiteral("A fájl nem hozható létre: %1 (%2)").arg(Native(filePath), out.errorString()));
        zip_file_t *in = zip_fopen_index(m_zip, entry.index, 0);
        if (!in)
            throw Damaged(m_path, QStringLiteral("A(z) „%1” nem bontható ki: %2")
                                      .arg(entry.path, QString::fromLocal8Bit(zip_strerror(m_zip))));
        QByteArray buffer(64 * 1024, Qt::Uninitialized);
        const auto readFailure = [&] {
            const QString text = QString::fromLocal8Bit(zip_file_strerror(in));
            zip_fclose(in);
            return Damaged(m_path, QStringLiteral("A(z) „%1” nem bontható ki: %2").arg(entry.path, text));
        };
        zip_int64_t n;
        // The last read checks the entry's CRC.
        while ((n = zip_fread(in, buffer.data(), zip_uint64_t(buffer.size()))) > 0) {
            if (out.write(buffer.constData(), n) != n)
                break;
        }
        if (n < 0)
            throw readFailure();
        zip_fclose(in);
        if (n > 0 || !out.flush())
            throw ArchiveError(QStringLiteral("A fájl nem írható: %1 (%2)").arg(Native(filePath), out.errorString()));
    }

private:
    QString m_path;
    zip_t *m_zip = nullptr;
    mutable Kind m_kind = Kind::Folder;
};

// The unpacked database: a whole SQLite file of the program, checked. Returns the ledger check's findings.
QStringList CheckDatabase(const QString &folder, const QString &zipPath)
{
    QFile file(QDir(folder).filePath(DatabaseName));
    if (!file.open(QIODevice::ReadOnly) || file.read(16) != QByteArray("SQLite format 3\0", 16))
        throw Damaged(zipPath, QStringLiteral("A(z) %1 nem SQLite adatbázis.").arg(DatabaseName));
    file.close();
    try {
        Engine engine(QStringLiteral("DromvelRestore"));
        engine.open(folder);
        QStringList faults;
        Query integrity(engine, QStringLiteral("PRAGMA integrity_check;"));
        integrity.open();
        while (integrity.next()) {
            const QString line = integrity.value(0).toString();
            if (line != QLatin1String("ok"))
                faults.append(line);
        }
        integrity.close();
        if (!faults.isEmpty())
            throw Damaged(zipPath,
                          QStringLiteral("Az adatbázis fájl sérült: %1").arg(faults.mid(0, 5).join(QLatin1Char('\n'))));
        const QStringList tables = engine.tables();
        if (!tables.contains(QStringLiteral("dromvel")) || !tables.contains(QStringLiteral("kassza")))
            throw Foreign(zipPath, QStringLiteral("A benne lévő adatbázis nem Dromvel.Pro adatbázis."));
        const QStringList findings = LedgerCheck::run(engine);
        // Only the database file goes into the target: the log is copied into it.
        engine.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
        return findings;
    } catch (const EngineError &e) {
        throw Damaged(zipPath, QStringLiteral("Az adatbázis nem nyitható meg: %1").arg(e.message()));
    }
}

// Moves what the staging folder holds into the target; on failure moves back what it had moved.
void MoveUp(const QString &staging, const QString &target)
{
    const QStringList names =
        QDir(staging).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    QStringList moved;
    for (const QString &name : names) {
        const QString from = QDir(staging).filePath(name);
        const QString to = QDir(target).filePath(name);
        if (!QDir().rename(from, to)) {
            for (const QString &back : moved)
                QDir().rename(QDir(target).filePath(back), QDir(staging).filePath(back));
            throw ArchiveError(QStringLiteral("A visszaállított fájl nem tehető a helyére: %1").arg(Native(to)));
        }
        moved.append(name);
    }
}

// The target server database: well formed, not the one the program has open, reachable, and empty. Opening an
// empty database gives it the program's tables, which the restore then replaces.
ServerAddress CheckServerTarget(const QString &target, const QString &openFolder, const QString &password)
{
    const std::optional<ServerAddress> address = ServerAddress::parse(target);
    if (!address)
        throw ArchiveError(QStringLiteral("Hibás kiszolgáló cím: %1\nA cím alakja: "
                                          "postgresql://[felhasználó@]kiszolgáló[:port]/adatbázis")
                               .arg(target.trimmed()));
    if (address == ServerAddress::parse(openFolder))
        throw ArchiveError(QStringLiteral("A visszaállítás célja nem lehet a megnyitott adatbázis: %1\nVálasszon "
                                          "másik, üres adatbázist.")
                               .arg(address->displayName()));
    QStringList filled;
    try {
        Engine engine(QStringLiteral("DromvelRestoreTarget"));
        engine.setPassword(password);
        engine.open(address->toString());
        filled = FilledTables(engine);
    } catch (const EngineError &e) {
        throw ArchiveError(
            QStringLiteral("A cél adatbázis nem nyitható meg: %1\n%2").arg(address->displayName(), e.message()));
    }
    if (!filled.isEmpty())
        throw ArchiveError(QStringLiteral("A cél adatbázis nem üres: %1 (%2)\nA visszaállításhoz üres adatbázist "
                                          "válasszon.")
                               .arg(address->displayName(), filled.join(QStringLiteral(", "))));
    return *address;
}

// The dump is the server's own and holds the program's tables.
void CheckDump(const QString &dump, const QString &zipPath)
{
    QByteArray list;
    try {
        list = ServerTool::Run(QStringLiteral("pg_restore"), {QStringLiteral("--list"), dump}, QString());
    } catch (const ArchiveError &e) {
        throw Damaged(zipPath, e.message());
    }
    const QString contents = QString::fromUtf8(list);
    for (const char *table : {"dromvel", "kassza"}) {
        const QRegularExpression entry(QStringLiteral("\\bTABLE \\S+ %1\\b").arg(QLatin1String(table)));
        if (!entry.match(contents).hasMatch())
            throw Foreign(zipPath, QStringLiteral("A benne lévő mentés nem Dromvel.Pro adatbázis."));
    }
}

// Restores a server database's archive into an empty database of a server with pg_restore, in one transaction:
// a failure leaves the target as it was. Then the ledger check.
RestoreResult RestoreIntoServer(const QString &zipPath, const QString &target, const QString &openFolder,
                                const QString &password)
{
    const ServerAddress address = CheckServerTarget(target, openFolder, password);
    const ZipReader zip(zipPath);
    const QList<Entry> entries = zip.entries();
    if (zip.kind() == Kind::Folder)
        throw ArchiveError(QStringLiteral("Ez az archívum egy adatbázis mappáról készült, ezért mappába állítható "
                                          "vissza. Kiszolgálóra a karbantartó program „Áthelyezés kiszolgálóra” "
                                          "műveletével vihető át."));
    QTemporaryDir staging;
    if (!staging.isValid())
        throw ArchiveError(QStringLiteral("Ideiglenes mappa nem hozható létre: %1").arg(staging.errorString()));
    const QString dump = staging.filePath(DumpName);
    for (const Entry &entry : entries)
        if (entry.path == DumpName)
            zip.extract(entry, dump);
    CheckDump(dump, zipPath);
    try {
        ServerTool::Run(QStringLiteral("pg_restore"),
                        {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                         QStringLiteral("--no-acl"), QStringLiteral("--single-transaction"),
                         QStringLiteral("--exit-on-error"),
                         QStringLiteral("--dbname=") + ServerTool::ConnectionString(address), dump},
                        password);
    } catch (const ArchiveError &e) {
        throw ArchiveError(
            QStringLiteral("Az archívum nem állítható vissza ide: %1\n%2").arg(address.displayName(), e.message()));
    }
    RestoreResult result;
    result.files = int(entries.size());
    result.findings = LedgerCheck::runOn(address.toString(), password);
    return result;
}

} // namespace

RestoreResult RestoreArchive(const QString &zipPath, const QString &targetFolder, const QString &openFolder,
                             const QString &password)
{
    if (ServerAddress::isServerPath(targetFolder))
        return RestoreIntoServer(zipPath, targetFolder, openFolder, password);
    CheckTarget(targetFolder, openFolder);
    const ZipReader zip(zipPath);
    const QList<Entry> entries = zip.entries();
    if (zip.kind() == Kind::Server)
        throw ArchiveError(QStringLiteral("Ez az archívum kiszolgálón lévő adatbázisról készült, ezért csak "
                                          "kiszolgáló-adatbázisba állítható vissza: célnak a kiszolgáló egy üres "
                                          "adatbázisának címét adja meg (postgresql://kiszolgáló/adatbázis)."));

    const QString staging =
        QDir(targetFolder).filePath(QStringLiteral(".visszaallitas-%1").arg(QCoreApplication::applicationPid()));
    if (!QDir().mkdir(staging))
        throw ArchiveError(QStringLiteral("A cél mappa nem írható: %1").arg(Native(targetFolder)));
    RestoreResult result;
    try {
        const QDir into(staging);
        for (const Entry &entry : entries) {
            const QString path = into.filePath(entry.path);
            const QString folder = entry.folder ? path : QFileInfo(path).absolutePath();
            if (!QDir().mkpath(folder))
                throw ArchiveError(QStringLiteral("A mappa nem hozható létre: %1").arg(Native(folder)));
            if (entry.folder)
                continue;
            zip.extract(entry, path);
            ++result.files;
        }
        result.findings = CheckDatabase(staging, zipPath);
        MoveUp(staging, targetFolder);
    } catch (...) {
        QDir(staging).removeRecursively();
        throw;
    }
    QDir().rmdir(staging);
    return result;
}
