#include "paradoximport.h"

#include "engine.h"
#include "eventlog.h"
#include "ledgercheck.h"
#include "ledgercontent.h"
#include "maintenancedatabase.h"
#include "paradoxtable.h"
#include "programerror.h"
#include "query.h"
#include "schema.h"
#include "serveraddress.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <cmath>

namespace {

constexpr int StatusEvery = 5000;

// Ends the import with a message for the user.
class ImportFailure : public ProgramError
{
public:
    using ProgramError::ProgramError;
};

QString FileOf(const TableDef &table)
{
    return table.name + QStringLiteral(".DB");
}

// The Paradox tables of the folder: lower-case file name -> file name as stored.
QHash<QString, QString> TableFiles(const QString &folder)
{
    QHash<QString, QString> files;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden))
        files.insert(name.toLower(), name);
    return files;
}

QString Quoted(const QVariant &value)
{
    return QStringLiteral("„%1”").arg(value.toString().left(40));
}

// The value for a field of the schema; throws when it cannot stand there (a text where a number belongs).
QVariant Converted(const FieldDef &field, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    const int type = value.typeId();
    bool ok = true;
    QVariant result;
    switch (field.type) {
    case FieldType::Alpha:
        if (type == QMetaType::Bool)
            result = value.toBool() ? QStringLiteral("I") : QStringLiteral("N");
        else if (type == QMetaType::Double)
            result = QString::number(value.toDouble(), 'g', 15);
        else if (type == QMetaType::QDate)
            result = value.toDate().toString(Qt::ISODate);
        else if (type == QMetaType::QDateTime)
            result = value.toDateTime().toString(Qt::ISODate);
        else if (type == QMetaType::QByteArray)
            ok = false;
        else
            result = value.toString();
        break;
    case FieldType::Long:
    case FieldType::Autoinc:
        if (type == QMetaType::Bool) {
            result = qint64(value.toBool() ? 1 : 0);
        } else if (type == QMetaType::Double) {
            const double d = value.toDouble();
            ok = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9e15;
            result = qint64(d);
        } else if (type == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (!text.isEmpty())
                result = text.toLongLong(&ok);
        } else {
            result = value.toLongLong(&ok);
        }
        break;
    case FieldType::Number:
        if (type == QMetaType::QString) {
            const QString text = value.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
            if (!text.isEmpty())
                result = text.toDouble(&ok);
        } else if (type == QMetaType::LongLong || type == QMetaType::Double) {
            result = value.toDouble();
        } else {
            ok = false;
        }
        break;
    case FieldType::Date:
        if (type == QMetaType::QDate) {
            result = value.toDate();
        } else if (type == QMetaType::QDateTime) {
            result = value.toDateTime().date();
        } else if (type == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            QDate date = QDate::fromString(text, Qt::ISODate);
            if (!date.isValid())
                date = QDate::fromString(text, QStringLiteral("yyyy.MM.dd."));
            if (!date.isValid())
                date = QDate::fromString(text, QStringLiteral("yyyy.MM.dd"));
            ok = text.isEmpty() || date.isValid();
            if (date.isValid())
                result = date;
        } else {
            ok = false;
        }
        break;
    }
    if (!ok)
        throw ImportFailure{QStringLiteral("a(z) „%1” mezőbe nem illő érték: %2").arg(field.name, Quoted(value))};
    return Schema::StoredValue(field, result);
}

// Where each field of the schema table lies in the Paradox table, -1 when it has none.
struct Mapping
{
    QList<int> columns;
    QStringList missing; // fields of the schema the old table lacks
    QStringList unknown; // fields of the old table the schema lacks
};

Mapping MapFields(const TableDef &def, const QList<ParadoxField> &fields)
{
    Mapping m;
    for (const FieldDef &field : def.fields) {
        int column = -1;
        for (int i = 0; i < fields.size(); ++i)
            if (fields.at(i).name.compare(field.name, Qt::CaseInsensitive) == 0)
                column = i;
        m.columns.append(column);
        if (column < 0)
            m.missing.append(field.name);
    }
    for (const ParadoxField &f : fields)
        if (!def.field(f.name))
            m.unknown.append(f.name);
    return m;
}

// Opens every table before anything is written, so that a missing, unreadable or foreign table stops the
// import at once.
QStringList CheckTables(const QString &folder, const QHash<QString, QString> &files)
{
    QStringList missing;
    for (const TableDef &def : Schema::ImportedTables())
        if (!files.contains(FileOf(def).toLower()))
            missing.append(FileOf(def));
    if (missing.size() == Schema::ImportedTables().size()) {
        QString text = QStringLiteral("A mappában nincsenek a Dromvel program régi táblái (%1).")
                           .arg(missing.join(QStringLiteral(", ")));
        QStringList others = files.values();
        others.sort(Qt::CaseInsensitive);
        if (!others.isEmpty())
            text += QStringLiteral("\nA mappa Paradox táblái (%1) nem ennek a programnak a táblái.")
                        .arg(others.join(QStringLiteral(", ")));
        throw ImportFailure{text};
    }
    if (!missing.isEmpty())
        throw ImportFailure{QStringLiteral("Hiányzó táblák: %1.\nAz átvétel csak akkor indul, ha a program mind a "
                                           "tizenegy táblája megvan.")
                                .arg(missing.join(QStringLiteral(", ")))};
    QStringList notes;
    for (const TableDef &def : Schema::ImportedTables()) {
        const QString file = files.value(FileOf(def).toLower());
        ParadoxTable table;
        if (!table.open(QDir(folder).filePath(file)))
            throw ImportFailure{QStringLiteral("A(z) %1 tábla nem olvasható: %2").arg(file, table.error())};
        const Mapping mapping = MapFields(def, table.fields());
        if (mapping.columns.first() < 0)
            throw ImportFailure{QStringLiteral("A(z) %1 nem ennek a programnak a táblája: nincs „%2” mezője.")
                                    .arg(file, def.key().name)};
        if (!mapping.missing.isEmpty())
            notes.append(QStringLiteral("%1: a régi táblában nem volt, üresen marad: %2")
                             .arg(def.name, mapping.missing.join(QStringLiteral(", "))));
        if (!mapping.unknown.isEmpty())
            notes.append(QStringLiteral("%1: az új adatbázisban nincs helye, nem került át: %2")
                             .arg(def.name, mapping.unknown.join(QStringLiteral(", "))));
    }
    return notes;
}

// Copies one table's records into the new database; returns the report line.
QString CopyTable(Engine &engine, const QString &folder, const QString &file, const TableDef &def,
                  const MaintenanceProgress &progress)
{
    ParadoxTable table;
    if (!table.open(QDir(folder).filePath(file)))
        throw ImportFailure{QStringLiteral("A(z) %1 tábla nem olvasható: %2").arg(file, table.error())};
    const Mapping mapping = MapFields(def, table.fields());
    QStringList names, marks;
    for (int i = 0; i < def.fields.size(); ++i)
        if (mapping.columns.at(i) >= 0) {
            names.append(def.fields.at(i).name);
            marks.append(QStringLiteral(":v%1").arg(i));
        }
    // Indexes are built once at the end rather than kept up to date row by row.
    engine.dropIndexes(def.name);
    engine.exec(QStringLiteral("DELETE FROM %1;").arg(def.name));
    Query insert(engine, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);")
                             .arg(def.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    int cut = 0;
    QVariantList record;
    for (int n = 0; n < table.recordCount(); ++n) {
        if (n % StatusEvery == 0 && n > 0)
            progress.setStatus(QStringLiteral("Átvétel: %1 (%2 / %3)").arg(file).arg(n).arg(table.recordCount()));
        if (!table.record(n, record))
            throw ImportFailure{QStringLiteral("A(z) %1 tábla nem olvasható: %2").arg(file, table.error())};
        for (int i = 0; i < def.fields.size(); ++i) {
            const int column = mapping.columns.at(i);
            if (column < 0)
                continue;
            const FieldDef &field = def.fields.at(i);
            QVariant value;
            try {
                value = Converted(field, record.at(column));
            } catch (const ImportFailure &failure) {
                throw ImportFailure{
                    QStringLiteral("A(z) %1 tábla %2. rekordja: %3").arg(file).arg(n + 1).arg(failure.message())};
            }
            if (field.type == FieldType::Alpha && record.at(column).toString().size() > field.width)
                ++cut;
            insert.setValue(QStringLiteral("v%1").arg(i), value);
        }
        try {
            insert.exec();
        } catch (const EngineError &e) {
            throw ImportFailure{
                QStringLiteral("A(z) %1 tábla %2. rekordja nem írható át: %3").arg(file).arg(n + 1).arg(e.message())};
        }
    }
    engine.createPrimaryIndex(def.name);
    engine.createSecondaryIndexes(def.name);
    QString line = QStringLiteral("%1: %2 sor").arg(def.name).arg(table.recordCount());
    if (cut > 0)
        line += QStringLiteral(" (%1 szöveg a mező hosszára vágva)").arg(cut);
    return line;
}

// Every table of the schema copied in its order; the report lines.
QStringList CopyTables(Engine &engine, const QString &source, const QHash<QString, QString> &files,
                       const MaintenanceProgress &progress)
{
    QStringList report;
    for (const TableDef &def : Schema::ImportedTables()) {
        progress.advance();
        const QString file = files.value(FileOf(def).toLower());
        progress.setStatus(QStringLiteral("Átvétel: ") + file);
        report.append(CopyTable(engine, source, file, def, progress));
    }
    LogEvent(engine, {QStringLiteral("Átvétel"), QString(), 0, 0,
                      QStringLiteral("Régi táblák: ") + QDir::toNativeSeparators(source)});
    return report;
}

// Into a database of a server, which must hold nothing but what a new database starts with; one transaction.
QStringList CopyIntoServer(const QString &address, const QString &password, const QString &source,
                           const QHash<QString, QString> &files, const MaintenanceProgress &progress)
{
    Engine engine(QStringLiteral("DromvelImport"));
    engine.setPassword(password);
    engine.open(address);
    Transaction transaction(engine);
    const QStringList filled = FilledTables(engine);
    if (!filled.isEmpty())
        throw ImportFailure{QStringLiteral("Az új adatbázis nem üres: %1\nAz átvételhez üres adatbázist válasszon; "
                                           "a benne lévő adatok nem változtak.")
                                .arg(filled.join(QStringLiteral(", ")))};
    const QStringList report = CopyTables(engine, source, files, progress);
    transaction.commit();
    return report;
}

// Into a new database file, built in a folder of its own inside the target so that the target only ever holds a
// finished database; one transaction.
QStringList CopyIntoFolder(const QString &target, const QString &source, const QHash<QString, QString> &files,
                           const MaintenanceProgress &progress)
{
    const QString build = QDir(target).filePath(QStringLiteral(".atvetel-%1").arg(QCoreApplication::applicationPid()));
    if (!QDir().mkpath(build))
        throw ImportFailure{
            QStringLiteral("Az új adatbázis mappája nem írható: %1").arg(QDir::toNativeSeparators(target))};
    try {
        QStringList report;
        {
            Engine engine(QStringLiteral("DromvelImport"));
            engine.open(build);
            Transaction transaction(engine);
            report = CopyTables(engine, source, files, progress);
            transaction.commit();
            engine.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
        }
        const QString built = QDir(build).filePath(QString::fromLatin1(Engine::FileName));
        if (QFileInfo(built + QStringLiteral("-wal")).size() > 0 ||
            !QFile::rename(built, QDir(target).filePath(QString::fromLatin1(Engine::FileName))))
            throw ImportFailure{
                QStringLiteral("Az új adatbázis nem tehető a helyére: %1").arg(QDir::toNativeSeparators(target))};
        QDir(build).removeRecursively();
        return report;
    } catch (...) {
        QDir(build).removeRecursively();
        throw;
    }
}

} // namespace

ParadoxImportResult ImportParadoxFolder(const QString &sourceFolder, const QString &targetFolder,
                                        const MaintenanceProgress &progress, const QString &targetPassword)
{
    ParadoxImportResult result;
    const QString source = MaintenanceDatabase::FolderOf(sourceFolder);
    const QString target = MaintenanceDatabase::FolderOf(targetFolder);
    const bool server = ServerAddress::isServerPath(target);
    try {
        if (source.isEmpty() || !QFileInfo(source).isDir())
            throw ImportFailure{QStringLiteral("Nem létező mappa: %1").arg(QDir::toNativeSeparators(source))};
        if (!server && (target.isEmpty() || !QFileInfo(target).isDir()))
            throw ImportFailure{QStringLiteral("Nem létező mappa: %1").arg(QDir::toNativeSeparators(target))};
        if (!server && !QDir(target).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            throw ImportFailure{QStringLiteral("Az új adatbázis mappája nem üres: %1\nAz átvételhez üres mappát "
                                               "válasszon.")
                                    .arg(QDir::toNativeSeparators(target))};
        const QHash<QString, QString> files = TableFiles(source);
        progress.setStatus(QStringLiteral("Régi táblák ellenőrzése"));
        const QStringList notes = CheckTables(source, files);

        progress.begin(int(Schema::ImportedTables().size()) + 1);
        result.report = server ? CopyIntoServer(target, targetPassword, source, files, progress)
                               : CopyIntoFolder(target, source, files, progress);
        result.report.append(notes);
    } catch (const ImportFailure &failure) {
        result.error = failure.message();
        result.report.clear();
    } catch (const EngineError &e) {
        result.error = QStringLiteral("Az új adatbázis nem írható: ") + e.message();
        result.report.clear();
    }
    if (result.error.isEmpty()) {
        progress.advance();
        progress.setStatus(QStringLiteral("Ellenőrzés"));
        result.findings = LedgerCheck::runOn(target, targetPassword);
    }
    progress.setStatus(QString());
    return result;
}
