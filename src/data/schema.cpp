#include "schema.h"

#include "clientcashpayments.h"

#include <QDate>

namespace {

const QString UnclosedRows = QStringLiteral("lezarva='N' OR kiadva='N'");

FieldDef A(const char *name, int width)
{
    return {QString::fromLatin1(name), FieldType::Alpha, width, std::nullopt};
}
FieldDef L(const char *name)
{
    return {QString::fromLatin1(name), FieldType::Long, 0, std::nullopt};
}
FieldDef Auto(const char *name)
{
    return {QString::fromLatin1(name), FieldType::Autoinc, 0, std::nullopt};
}
FieldDef N(const char *name, std::optional<double> defaultValue = std::nullopt)
{
    return {QString::fromLatin1(name), FieldType::Number, 0, defaultValue};
}
FieldDef D(const char *name)
{
    return {QString::fromLatin1(name), FieldType::Date, 0, std::nullopt};
}

// Secondary indexes named idx_<field>, one field each.
QList<IndexDef> Idx(std::initializer_list<const char *> fields)
{
    QList<IndexDef> result;
    for (const char *f : fields)
        result.append(
            {QStringLiteral("idx_") + QString::fromLatin1(f), {QString::fromLatin1(f)}, QString(), false, {}});
    return result;
}

IndexDef Own(const char *name, std::initializer_list<const char *> fields, const QString &where = QString())
{
    IndexDef index{QString::fromLatin1(name), {}, where, false, {}};
    for (const char *f : fields)
        index.fields.append(QString::fromLatin1(f));
    return index;
}

// Booked rows only: a pending row may already carry the numbers it is going to be booked with.
IndexDef UniqueWhenBooked(const char *name, std::initializer_list<const char *> fields, const QString &label)
{
    IndexDef index = Own(name, fields, QStringLiteral("kiadva='I'"));
    index.unique = true;
    index.label = label;
    return index;
}

// The ledger grid of one till in the order of one of its columns: the column, the key that breaks ties, and what
// the grid's WHERE line reads, so that counting rows and finding a row by its position read the index alone.
IndexDef LedgerOrder(const char *field)
{
    const QString column = QString::fromLatin1(field);
    IndexDef index;
    index.name = QStringLiteral("ix_dromvel_") + column;
    index.fields = {QStringLiteral("kassza"),  column,
                    QStringLiteral("dromvel"), QStringLiteral("kibe"),
                    QStringLiteral("lezarva"), QStringLiteral("kiadva")};
    return index;
}

QVariantMap Row(std::initializer_list<std::pair<const char *, QVariant>> values)
{
    QVariantMap row;
    for (const auto &[name, value] : values)
        row.insert(QString::fromLatin1(name), value);
    return row;
}

QList<TableDef> BuildTables()
{
    QList<TableDef> t;

    t.append({QStringLiteral("beallit"),
              {L("beallit"), A("vanbelep", 1), A("autonyomtat", 1), L("metodus"), A("formatft", 20),
               N("kpfizetes_havi", DefaultMonthlyCashPaymentLimit)},
              {},
              {},
              {Row({{"beallit", 1},
                    {"vanbelep", QStringLiteral("N")},
                    {"autonyomtat", QStringLiteral("N")},
                    {"metodus", 0},
                    {"formatft", QStringLiteral("### ### ##0")}})}});

    t.append({QStringLiteral("felhasznalo"),
              {A("felhasznalo", 20), A("felhasznalo_nev", 20), A("jelszo", 128), A("rendszergazda", 1),
               A("torzsszerkeszt", 1)},
              {},
              {},
              {}});

    t.append(
        {QStringLiteral("dromvel"),
         {Auto("dromvel"),
          L("dromvelid"),
          A("kibe", 1),
          L("ssz"),
          A("betujel", 2),
          L("kassza"),
          D("dat_kiadva"),
          A("kiadva", 1),
          A("idoszak", 6),
          L("kasszatip"),
          N("nyito"),
          N("osszeg"),
          N("zaro"),
          A("szoveg", 255),
          L("ugyfel"),
          N("bevetel"),
          N("kiadas"),
          A("elszamol_kell", 1),
          L("elszamol_ssz"),
          D("elszamol_kell_dat"),
          A("elszamolva", 1),
          D("elszamol_dat"),
          A("elszamol_biz", 20),
          A("forgjogcim1", 20),
          A("bizszam1", 25),
          A("szoveg1", 50),
          N("osszeg1"),
          A("forgjogcim2", 20),
          A("bizszam2", 25),
          A("szoveg2", 50),
          N("osszeg2"),
          A("forgjogcim3", 20),
          A("bizszam3", 25),
          A("szoveg3", 50),
          N("osszeg3"),
          A("felhasznalo", 20),
          N("elszamol_tenyl_osszeg"),
          A("elszamol_bevet_penztarbiz", 20),
          A("datumstr", 10),
          L("zarbizonylat"),
          A("lezarva", 1)},
         Idx({"idoszak", "elszamol_kell_dat", "zaro", "osszeg", "nyito", "kasszatip", "dat_kiadva", "dromvelid"}),
         // Till balance, next serial of a letter code, next settlement number, the ledger of one till, and the
         // unclosed and the pending rows, which are few among many closed ones.
         {Own("ix_dromvel_balance", {"kassza", "kiadva", "dromvelid"}), Own("ix_dromvel_serial", {"betujel", "ssz"}),
          Own("ix_dromvel_settlement", {"elszamol_ssz"}), Own("ix_dromvel_kassza", {"kassza", "dromvel", "kibe"}),
          Own("ix_dromvel_open", {"kassza", "lezarva", "kiadva"}),
          Own("ix_dromvel_unclosed", {"kassza", "dromvel", "kibe", "lezarva", "kiadva"}, UnclosedRows),
          // The voucher form's pick lists: every distinct item text and title.
          Own("ix_dromvel_szoveg1", {"szoveg1"}), Own("ix_dromvel_szoveg2", {"szoveg2"}),
          Own("ix_dromvel_szoveg3", {"szoveg3"}), Own("ix_dromvel_forgjogcim1", {"forgjogcim1"}),
          Own("ix_dromvel_forgjogcim2", {"forgjogcim2"}), Own("ix_dromvel_forgjogcim3", {"forgjogcim3"}),
          // Backstops: whatever writes the ledger, a booking number and a voucher number are never given twice.
          UniqueWhenBooked("ix_dromvel_booked_id", {"dromvelid"}, QStringLiteral("könyvelési sorszámok (dromvelid)")),
          UniqueWhenBooked("ix_dromvel_booked_number", {"betujel", "ssz"},
                           QStringLiteral("bizonylatszámok (betujel, ssz)"))},
         {}});
    // The ledger grid sorted by any of its columns; the looked-up names (type, client) walk their lookup in name
    // order and come here by the joining field. Without statistics SQLite takes, of the indexes that serve a
    // statement equally well, the one created last: these come first, so that the whole till is counted from the
    // narrow ledger-by-till index and the unclosed rows from their own small one.
    QList<IndexDef> orders;
    for (const char *field :
         {"elszamolva", "ssz", "dat_kiadva", "kasszatip", "ugyfel", "nyito", "osszeg", "zaro", "elszamol_kell_dat"})
        orders.append(LedgerOrder(field));
    t.last().ownIndexes = orders + t.last().ownIndexes;

    t.append({QStringLiteral("irsz"), {L("id"), A("irsz", 5), A("varos", 25)}, {}, {}, {}});

    t.append({QStringLiteral("kassza"),
              {Auto("kassza"), A("kassza_nev", 25), A("valuta", 3), A("betujel_be", 2), A("betujel_ki", 2),
               A("torolve", 1), N("nyito"), D("lezarva"), N("zaro"), N("most"), N("zaro_max")},
              Idx({"kassza_nev"}),
              {},
              {}});

    t.append({QStringLiteral("kasszatip"),
              {Auto("kasszatip"), A("kasszatip_nev", 50), L("szorzo"), A("kibe", 1), A("elszamolas", 1)},
              Idx({"kasszatip_nev"}),
              {},
              {}});

    t.append({QStringLiteral("kibe"),
              {A("kibe", 1), A("kibe_nev", 25), A("nev", 25)},
              {},
              {},
              {Row({{"kibe", QStringLiteral("B")},
                    {"kibe_nev", QStringLiteral("Bevételi pénztárbizonylat")},
                    {"nev", QStringLiteral("bevétel")}}),
               Row({{"kibe", QStringLiteral("K")},
                    {"kibe_nev", QStringLiteral("Kiadási pénztárbizonylat")},
                    {"nev", QStringLiteral("kiadás")}}),
               Row({{"kibe", QStringLiteral("N")},
                    {"kibe_nev", QStringLiteral("Nyitó pénzkészlet")},
                    {"nev", QStringLiteral("nyitó")}})}});

    t.append({QStringLiteral("szervegyseg"), {L("szervegyseg"), A("szervegyseg_nev", 50)}, {}, {}, {}});

    t.append({QStringLiteral("tulajdonos"),
              {A("tulajdonos", 100), A("telefon", 25), A("mobil", 25), A("fax", 25), A("irsz", 5), A("varos", 25),
               A("cim", 50), A("adoszam", 11), A("bankszamlaszam", 24)},
              {},
              {},
              {QVariantMap{}}});

    t.append({QStringLiteral("ugyfel"),
              {Auto("ugyfel"), A("ugyfel_nev", 50), A("kapcsolat", 30), A("telefon", 25), A("fax", 25), A("mobil", 25),
               A("emil", 75), A("cim_irsz", 5), A("cim_varos", 25), A("cim_cim", 50), A("bankszamla", 24),
               A("szigszam", 15), L("elszamol"), L("szervegyseg"), N("elszamolasra"), N("elszamollimit")},
              Idx({"ugyfel_nev", "cim_varos", "cim_irsz", "cim_cim", "telefon", "kapcsolat", "elszamolasra",
                   "elszamollimit"}),
              {},
              {}});

    t.append({QStringLiteral("zarbizonylat"),
              {L("zarbizonylat"), L("kassza"), D("dat_tol"), D("dat_ig"), N("nyito"), N("zaro"), N("zaro_max")},
              {},
              {Own("ix_zarbizonylat_kassza", {"kassza", "zarbizonylat"})},
              {}});

    // The event log: who changed what, from which workstation, and when. The old program had no such table.
    TableDef naplo{QStringLiteral("naplo"),
                   {Auto("naplo"), A("idopont", 19), A("munkaallomas", 50), A("felhasznalo", 20), A("esemeny", 30),
                    L("kassza"), L("sorkulcs"), A("szoveg", 255)},
                   {},
                   {Own("ix_naplo_idopont", {"idopont"})},
                   {}};
    naplo.imported = false;
    t.append(naplo);

    // The cash count of a closing, line by line. The old program had no such table either.
    TableDef count{QStringLiteral("penztarellenorzes"),
                   {Auto("penztarellenorzes"), L("zarbizonylat"), L("sor"), N("cimlet"), L("db"), N("osszeg")},
                   {},
                   {Own("ix_penztarellenorzes_zar", {"zarbizonylat", "sor"})},
                   {}};
    count.imported = false;
    t.append(count);
    return t;
}

QString SqlType(const FieldDef &field, SqlDialect dialect)
{
    if (dialect == SqlDialect::Server) {
        switch (field.type) {
        case FieldType::Alpha:
            return QStringLiteral("varchar(%1)").arg(field.width);
        case FieldType::Long:
            return QStringLiteral("integer");
        case FieldType::Autoinc:
            return QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case FieldType::Number:
            return QStringLiteral("double precision");
        case FieldType::Date:
            return QStringLiteral("date");
        }
    }
    switch (field.type) {
    case FieldType::Alpha:
        return QStringLiteral("VARCHAR(%1)").arg(field.width);
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Autoinc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Number:
        return QStringLiteral("REAL");
    case FieldType::Date:
        return QStringLiteral("TEXT");
    }
    return {};
}

// The field's name, type and default, as CREATE TABLE and ALTER TABLE take them.
QString ColumnSql(const FieldDef &field, SqlDialect dialect)
{
    QString column = field.name + QLatin1Char(' ') + SqlType(field, dialect);
    if (field.defaultValue)
        column += QStringLiteral(" DEFAULT ") + QString::number(*field.defaultValue, 'g', 17);
    return column;
}

// An integer key is the table's row id; a text key gets a unique index of its own.
bool KeyIsRowId(const TableDef &table)
{
    return table.key().type == FieldType::Autoinc || table.key().type == FieldType::Long;
}

} // namespace

const FieldDef *TableDef::field(const QString &name) const
{
    for (const FieldDef &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QStringList TableDef::fieldNames() const
{
    QStringList names;
    for (const FieldDef &f : fields)
        names.append(f.name);
    return names;
}

namespace Schema {

const QList<TableDef> &Tables()
{
    static const QList<TableDef> tables = BuildTables();
    return tables;
}

const QList<TableDef> &ImportedTables()
{
    static const QList<TableDef> tables = [] {
        QList<TableDef> result = Tables();
        result.removeIf([](const TableDef &t) { return !t.imported; });
        return result;
    }();
    return tables;
}

const TableDef *Table(const QString &name)
{
    for (const TableDef &t : Tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

bool IsDateField(const QString &fieldName)
{
    static const QStringList names = [] {
        QStringList result;
        for (const TableDef &t : Tables())
            for (const FieldDef &f : t.fields)
                if (f.type == FieldType::Date)
                    result.append(f.name);
        return result;
    }();
    return names.contains(fieldName, Qt::CaseInsensitive);
}

QVariant StoredValue(const FieldDef &field, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    switch (field.type) {
    case FieldType::Alpha: {
        const QString text = value.toString();
        if (text.isEmpty())
            return QVariant();
        return text.left(field.width);
    }
    case FieldType::Long:
    case FieldType::Autoinc:
        return value.toLongLong();
    case FieldType::Number:
        return value.toDouble();
    case FieldType::Date: {
        const QDate date =
            value.typeId() == QMetaType::QDate ? value.toDate() : QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
    }
    }
    return value;
}

QString CreateTableSql(const TableDef &table, SqlDialect dialect)
{
    QStringList columns;
    for (const FieldDef &f : table.fields) {
        QString column = ColumnSql(f, dialect);
        if (&f == &table.fields.first() && f.type == FieldType::Long)
            column += dialect == SqlDialect::Server ? QStringLiteral(" GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                                    : QStringLiteral(" PRIMARY KEY");
        columns.append(column);
    }
    if (dialect == SqlDialect::Server)
        columns.append(KeyIsRowId(table)
                           ? QStringLiteral("rowid bigint GENERATED ALWAYS AS (%1) STORED").arg(table.key().name)
                           : QStringLiteral("rowid bigint GENERATED BY DEFAULT AS IDENTITY UNIQUE"));
    return QStringLiteral("CREATE TABLE %1 (%2);").arg(table.name, columns.join(QStringLiteral(", ")));
}

QString AddColumnSql(const TableDef &table, const FieldDef &field, SqlDialect dialect)
{
    const QString ifMissing = dialect == SqlDialect::Server ? QStringLiteral("IF NOT EXISTS ") : QString();
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3;").arg(table.name, ifMissing, ColumnSql(field, dialect));
}

QString ColumnType(const FieldDef &field, SqlDialect dialect)
{
    return SqlType(field, dialect);
}

QString AutoKey(const TableDef &table)
{
    return KeyIsRowId(table) ? table.key().name : QString();
}

QString PrimaryIndexName(const TableDef &table)
{
    return KeyIsRowId(table) ? QString() : QStringLiteral("pk_") + table.name;
}

QString CreatePrimaryIndexSql(const TableDef &table)
{
    if (KeyIsRowId(table))
        return {};
    return QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3);")
        .arg(PrimaryIndexName(table), table.name, table.key().name);
}

QString CreateIndexSql(const TableDef &table, const IndexDef &index)
{
    const QString where = index.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + index.where;
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)%5;")
        .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), index.name, table.name,
             index.fields.join(QStringLiteral(", ")), where);
}

QString DuplicateKeysSql(const TableDef &table, const IndexDef &index, int limit)
{
    const QString fields = index.fields.join(QStringLiteral(", "));
    QStringList conditions;
    if (!index.where.isEmpty())
        conditions.append(QLatin1Char('(') + index.where + QLatin1Char(')'));
    for (const QString &field : index.fields)
        conditions.append(field + QStringLiteral(" IS NOT NULL"));
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 GROUP BY %1 HAVING COUNT(*) > 1 ORDER BY %1 LIMIT %4;")
        .arg(fields, table.name, conditions.join(QStringLiteral(" AND ")))
        .arg(limit);
}

} // namespace Schema
