#include "masterlookups.h"

#include "engine.h"
#include "query.h"
#include "util.h"

namespace {

// Every row of the statement, made into a value by rowOf.
template <typename Row> QList<Row> AllRows(Engine &engine, const QString &sql, Row (*rowOf)(const Query &))
{
    Query q(engine, sql);
    q.open();
    QList<Row> rows;
    while (q.next())
        rows.append(rowOf(q));
    return rows;
}

QString NameOf(Engine &engine, const QString &sql, const QString &parameter, const QVariant &key)
{
    Query q(engine, sql);
    q.setValue(parameter, key);
    return ValueOr(q.firstValue(), QString());
}

} // namespace

VoucherMasters FindVoucherMasters(Engine &engine, int kassza, int kasszatip, int ugyfel)
{
    Query q(engine, QStringLiteral("SELECT (SELECT COUNT(*) FROM kassza WHERE kassza = :pkassza),"
                                   " (SELECT COUNT(*) FROM kasszatip WHERE kasszatip = :pkasszatip),"
                                   " (SELECT COUNT(*) FROM ugyfel WHERE ugyfel = :pugyfel);"));
    q.setInt(QStringLiteral("pkassza"), kassza);
    q.setInt(QStringLiteral("pkasszatip"), kasszatip);
    q.setInt(QStringLiteral("pugyfel"), ugyfel);
    q.open();
    VoucherMasters found;
    if (q.next()) {
        found.till = q.value(0).toInt() > 0;
        found.movementType = q.value(1).toInt() > 0;
        found.client = q.value(2).toInt() > 0;
    }
    q.close();
    return found;
}

QString DirectionName(Engine &engine, const QString &kibe)
{
    return NameOf(engine, QStringLiteral("SELECT kibe_nev FROM kibe WHERE kibe = :pkibe;"), QStringLiteral("pkibe"),
                  kibe);
}

QString MovementTypeName(Engine &engine, int kasszatip)
{
    return NameOf(engine, QStringLiteral("SELECT kasszatip_nev FROM kasszatip WHERE kasszatip = :pkasszatip;"),
                  QStringLiteral("pkasszatip"), kasszatip);
}

QString ClientName(Engine &engine, int ugyfel)
{
    return NameOf(engine, QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = :pugyfel;"),
                  QStringLiteral("pugyfel"), ugyfel);
}

QString TownOfPostcode(Engine &engine, const QString &postcode)
{
    return NameOf(engine, QStringLiteral("SELECT varos FROM irsz WHERE irsz = :pirsz;"), QStringLiteral("pirsz"),
                  postcode);
}

QList<MovementTypeRecord> MovementTypes(Engine &engine)
{
    return AllRows<MovementTypeRecord>(
        engine, QStringLiteral("SELECT kasszatip, kasszatip_nev, kibe, elszamolas FROM kasszatip;"),
        [](const Query &q) -> MovementTypeRecord {
            return {q.value(0).toInt(), ValueOr(q.value(1), QString()), ValueOr(q.value(2), QString()),
                    ValueOr(q.value(3), QString())};
        });
}

QList<ClientRecord> Clients(Engine &engine)
{
    return AllRows<ClientRecord>(
        engine, QStringLiteral("SELECT ugyfel, ugyfel_nev, elszamol, elszamollimit FROM ugyfel ORDER BY ugyfel_nev;"),
        [](const Query &q) -> ClientRecord {
            return {q.value(0).toInt(), ValueOr(q.value(1), QString()), ValueOr(q.value(2), 0),
                    ValueOr(q.value(3), 0.0)};
        });
}

QList<NamedKey> OrganisationalUnits(Engine &engine)
{
    return AllRows<NamedKey>(
        engine, QStringLiteral("SELECT szervegyseg, szervegyseg_nev FROM szervegyseg ORDER BY UPPER(szervegyseg_nev);"),
        [](const Query &q) -> NamedKey {
            return {q.value(0), ValueOr(q.value(1), QString())};
        });
}
