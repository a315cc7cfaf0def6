#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class Engine;

// Reads of the master tables that forms and the sample ledger make: names behind keys and small lists that
// are fetched whole. Engine errors propagate as EngineError.

// A key with its display name.
struct NamedKey
{
    QVariant key;
    QString name;
};

// A movement type (kasszatip) with its direction and settlement flag.
struct MovementTypeRecord
{
    int id = 0;
    QString name;
    QString kibe;
    QString elszamolas;
};

// A client (ugyfel) with the days it has to settle an advance and its limit.
struct ClientRecord
{
    int id = 0;
    QString name;
    int days = 0;
    double limit = 0;
};

// Whether the master rows a voucher points at exist.
struct VoucherMasters
{
    bool till = false;         // kassza
    bool movementType = false; // kasszatip
    bool client = false;       // ugyfel
};
VoucherMasters FindVoucherMasters(Engine &engine, int kassza, int kasszatip, int ugyfel);

// The heading of a direction (kibe_nev of kibe); empty for an unknown direction.
QString DirectionName(Engine &engine, const QString &kibe);
// kasszatip_nev; empty for an unknown type.
QString MovementTypeName(Engine &engine, int kasszatip);
// ugyfel_nev; empty for an unknown client.
QString ClientName(Engine &engine, int ugyfel);
// The town of a postcode (irsz); empty for an unknown postcode.
QString TownOfPostcode(Engine &engine, const QString &postcode);

QList<MovementTypeRecord> MovementTypes(Engine &engine);
// In name order.
QList<ClientRecord> Clients(Engine &engine);
// The organisational units (szervegyseg) in name order, letter case ignored.
QList<NamedKey> OrganisationalUnits(Engine &engine);
