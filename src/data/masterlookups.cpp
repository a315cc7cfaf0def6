#include "masterlookups.h"

#include "engine.h"
#include "query.h"
#include "util.h"

namespace {

QString NameOf(Engine &engine, const QString &sql, const QString &parameter, const QVariant &key)
{
    Query q(engine, sql);
    q.setValue(parameter, key);
    return ValueOr(q.firstValue(), QString());
}

} // namespace

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

QString TownOfPostcode(Engine &engine, const QString &postcode)
{
    return NameOf(engine, QStringLiteral("SELECT varos FROM irsz WHERE irsz = :pirsz;"), QStringLiteral("pirsz"),
                  postcode);
}

QList<MovementTypeRecord> MovementTypes(Engine &engine)
{
    Query q(engine, QStringLiteral("SELECT kasszatip, kasszatip_nev, kibe, elszamolas FROM kasszatip;"));
    q.open();
    QList<MovementTypeRecord> types;
    while (q.next())
        types.append({q.value(0).toInt(), ValueOr(q.value(1), QString()), ValueOr(q.value(2), QString()),
                      ValueOr(q.value(3), QString())});
    return types;
}

QList<ClientRecord> Clients(Engine &engine)
{
    Query q(engine,
            QStringLiteral("SELECT ugyfel, ugyfel_nev, elszamol, elszamollimit FROM ugyfel ORDER BY ugyfel_nev;"));
    q.open();
    QList<ClientRecord> clients;
    while (q.next())
        clients.append(
            {q.value(0).toInt(), ValueOr(q.value(1), QString()), ValueOr(q.value(2), 0), ValueOr(q.value(3), 0.0)});
    return clients;
}

QList<NamedKey> OrganisationalUnits(Engine &engine)
{
    Query q(engine,
            QStringLiteral("SELECT szervegyseg, szervegyseg_nev FROM szervegyseg ORDER BY UPPER(szervegyseg_nev);"));
    q.open();
    QList<NamedKey> units;
    while (q.next())
        units.append({q.value(0), ValueOr(q.value(1), QString())});
    return units;
}
