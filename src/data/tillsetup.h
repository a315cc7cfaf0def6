#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

class Engine;

// Writes a new till and its opening ledger row ("Pénztári nyitó megadás", booked, carrying the till's nyito as
// its amount and closing balance) in one transaction with its event log entry: all of them or none. till holds the
// kassza fields. Returns the new till's id; throws EngineError.
qint64 CreateTill(Engine &engine, const QVariantMap &till, const QString &user, const QDate &today);
// Writes the changed fields of a till with its event log entry ("Kassza módosítása": the till's name and each
// changed field with its new value) in one transaction. Throws EngineError.
void UpdateTill(Engine &engine, int till, const QVariantMap &changed, const QString &user);
