#include "ledgermove.h"

#include "engine.h"
#include "eventlog.h"
#include "ledgercheck.h"
#include "ledgercontent.h"
#include "maintenancedatabase.h"
#include "programerror.h"
#include "query.h"
#include "schema.h"
#include "serveraddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int StatusEvery = 5000;

// Ends the move with a message for the user; nothing has been written.
class MoveFailure : public ProgramError
{
public:
    using ProgramError::ProgramError;
};

QString Shown(const QString &database)
{
    if (const std::optional<ServerAddress> address = ServerAddress::parse(database))
        return address->displayName();
    return QDir::toNativeSeparators(database);
}

bool SameDatabase(const QString &a, const QString &b)
{
    if (ServerAddress::isServerPath(a) || ServerAddress::isServerPath(b))
        return ServerAddress::parse(a) == ServerAddress::parse(b);
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// The largest integer key the table has handed out, as its counter keeps it (SQLite keeps one only for an
// AUTOINCREMENT key); 0 when it keeps none or has handed out none.
qint64 Counter(Engine &engine, const TableDef &table)
{
    const QString key = Schema::AutoKey(table);
    if (key.isEmpty())
        return 0;
    if (engine.isServer()) {
        Query q(engine, QStringLiteral("SELECT pg_sequence_last_value(pg_get_serial_sequence(:t, :k)::regclass);"));
        q.setText(QStringLiteral("t"), table.name);
        q.setText(QStringLiteral("k"), key);
        return q.firstValue().toLongLong();
    }
    if (table.key().type != FieldType::Autoinc)
        return 0;
    Query q(engine, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = :t;"));
    q.setText(QStringLiteral("t"), table.name);
    return q.firstValue().toLongLong();
}

// Moves the table's counter up to value when it stands lower.
void RaiseCounter(Engine &engine, const TableDef &table, qint64 value)
{
    if (value <= Counter(engine, table))
        return;
    const QString key = Schema::AutoKey(table);
    if (engine.isServer()) {
        Query q(engine, QStringLiteral("SELECT setval(pg_get_serial_sequence(:t, :k), :v);"));
        q.setText(QStringLiteral("t"), table.name).setText(QStringLiteral("k"), key).setInt(QStringLiteral("v"), value);
        q.open();
        q.close();
        return;
    }
    if (table.key().type != FieldType::Autoinc)
        return;
    Query remove(engine, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = :t;"));
    remove.setText(QStringLiteral("t"), table.name).exec();
    Query insert(engine, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (:t, :v);"));
    insert.setText(QStringLiteral("t"), table.name).setInt(QStringLiteral("v"), value).exec();
}

qint64 RowCount(Engine &engine, const QString &table)
{
    return Query(engine, QStringLiteral("SELECT COUNT(*) FROM %1;").arg(table)).firstValue().toLongLong();
}

// Copies one table: the target's rows go, the source's come with their keys. Returns the report line; notes
// collects the fields that had no place on one side.
QString CopyTable(Engine &source, Engine &target, const TableDef &def, const MaintenanceProgress &progress,
                  QStringList &notes)
{
    const QStringList present = source.fieldNames(def.name);
    QStringList from, to, missing, unknown;
    QList<const FieldDef *> fields;
    for (const FieldDef &field : def.fields) {
        const auto found = std::find_if(present.cbegin(), present.cend(), [&field](const QString &name) {
            return name.compare(field.name, Qt::CaseInsensitive) == 0;
        });
        if (found == present.cend()) {
            missing.append(field.name);
            continue;
        }
        from.append(QLatin1Char('"') + *found + QLatin1Char('"'));
        to.append(field.name);
        fields.append(&field);
    }
    for (const QString &name : present)
        if (!def.field(name))
            unknown.append(name);
    if (!missing.isEmpty())
        notes.append(QStringLiteral("%1: a forrásban nem volt, üresen marad: %2")
                         .arg(def.name, missing.join(QStringLiteral(", "))));
    if (!unknown.isEmpty())
        notes.append(QStringLiteral("%1: a célban nincs helye, nem került át: %2")
                         .arg(def.name, unknown.join(QStringLiteral(", "))));

    // Indexes are built once at the end rather than kept up to date row by row.
    target.dropIndexes(def.name);
    target.exec(QStringLiteral("DELETE FROM %1;").arg(def.name));
    const qint64 total = RowCount(source, def.name);
    QStringList marks;
    for (qsizetype i = 0; i < to.size(); ++i)
        marks.append(QStringLiteral(":v%1").arg(i));
    Query insert(target, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);")
                             .arg(def.name, to.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    Query rows(
        source,
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %3;").arg(from.join(QStringLiteral(", ")), def.name, from.first()));
    rows.open();
    qint64 copied = 0;
    while (rows.next()) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            insert.setValue(QStringLiteral("v%1").arg(i), Schema::StoredValue(*fields.at(i), rows.value(int(i))));
        insert.exec();
        if (++copied % StatusEvery == 0)
            progress.setStatus(QStringLiteral("Áthelyezés: %1 (%2 / %3)").arg(def.name).arg(copied).arg(total));
    }
    rows.close();
    target.createPrimaryIndex(def.name);
    target.createSecondaryIndexes(def.name);
    RaiseCounter(target, def, Counter(source, def));
    const qint64 written = RowCount(target, def.name);
    if (copied != total || written != total)
        throw MoveFailure(QStringLiteral("A(z) %1 tábla sorainak száma nem egyezik: a forrásban %2, átírva %3, a "
                                         "célban %4.")
                              .arg(def.name)
                              .arg(total)
                              .arg(copied)
                              .arg(written));
    return QStringLiteral("%1: %2 sor").arg(def.name).arg(total);
}

// The target's database: a server database, or the folder's (an empty folder gets a new one).
void OpenTarget(Engine &engine, const QString &target, const QString &password)
{
    if (!ServerAddress::isServerPath(target) && (target.isEmpty() || !QFileInfo(target).isDir()))
        throw MoveFailure(QStringLiteral("Nem létező mappa: %1").arg(QDir::toNativeSeparators(target)));
    engine.setPassword(password);
    engine.open(target);
}

} // namespace

LedgerMoveResult MoveLedger(const QString &sourceDatabase, const QString &targetDatabase,
                            const MaintenanceProgress &progress, const QString &sourcePassword,
                            const QString &targetPassword)
{
    LedgerMoveResult result;
    const QString source = MaintenanceDatabase::FolderOf(sourceDatabase);
    const QString target = MaintenanceDatabase::FolderOf(targetDatabase);
    // A database file that the move itself makes in an empty folder goes again when the move fails.
    const QString targetFile =
        ServerAddress::isServerPath(target) ? QString() : QDir(target).filePath(QString::fromLatin1(Engine::FileName));
    const bool newFile = !targetFile.isEmpty() && !QFileInfo::exists(targetFile);
    try {
        if (SameDatabase(source, target))
            throw MoveFailure(QStringLiteral("A forrás és a cél ugyanaz az adatbázis: %1").arg(Shown(source)));
        MaintenanceDatabase from(QStringLiteral("DromvelMoveSource"));
        const QString refusal = from.open(source, MaintenanceDatabase::Access::Exclusive, sourcePassword);
        if (!refusal.isEmpty())
            throw MoveFailure(
                QStringLiteral("A forrás adatbázis nem nyitható meg: %1\n%2").arg(Shown(source), refusal));
        Engine to(QStringLiteral("DromvelMoveTarget"));
        OpenTarget(to, target, targetPassword);

        const QList<TableDef> &tables = Schema::Tables();
        progress.begin(int(tables.size()) + 1);
        // The source under its write lock, so nothing changes it while it is read; the lock goes unused otherwise.
        Transaction reading(from.engine());
        Transaction writing(to);
        const QStringList filled = FilledTables(to);
        if (!filled.isEmpty())
            throw MoveFailure(QStringLiteral("A cél adatbázis nem üres: %1 (%2)\nAz áthelyezéshez üres adatbázist "
                                             "válasszon; a benne lévő adatok nem változtak.")
                                  .arg(Shown(target), filled.join(QStringLiteral(", "))));
        const QStringList present = from.engine().tables();
        QStringList notes;
        for (const TableDef &def : tables) {
            progress.advance();
            progress.setStatus(QStringLiteral("Áthelyezés: ") + def.name);
            if (!present.contains(def.name, Qt::CaseInsensitive)) {
                to.exec(QStringLiteral("DELETE FROM %1;").arg(def.name));
                notes.append(QStringLiteral("%1: a forrásban nincs ilyen tábla, a célban üresen marad").arg(def.name));
                continue;
            }
            result.report.append(CopyTable(from.engine(), to, def, progress, notes));
        }
        LogEvent(to, {QStringLiteral("Áthelyezés"), QString(), 0, 0, QStringLiteral("Forrás: ") + Shown(source)});
        writing.commit();
        result.report += notes + to.indexWarnings();
    } catch (const MoveFailure &failure) {
        result.error = failure.message();
        result.report.clear();
    } catch (const EngineError &e) {
        result.error = QStringLiteral("Az áthelyezés nem sikerült, a cél adatbázis nem változott: ") + e.message();
        result.report.clear();
    }
    if (!result.error.isEmpty() && newFile)
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(targetFile + QLatin1String(suffix));
    if (result.error.isEmpty()) {
        progress.advance();
        progress.setStatus(QStringLiteral("Ellenőrzés"));
        result.findings = LedgerCheck::runOn(target, targetPassword);
    }
    progress.setStatus(QString());
    return result;
}
