#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

class Engine;

// The database-wide settings: the first beallit row in key order.
struct SettingsRow
{
    QVariant rowId; // null when the table has no row; saving adds one
    bool vanBelep = false;
    bool autoNyomtat = false;
    QVariant metodus; // as stored: may be NULL or outside 0..2
    QString formatFt;
    // The most cash one client may be paid in a calendar month (kpfizetes_havi); NULL reads as the usual
    // 1 500 000, 0 means no check.
    QVariant kpFizetesHavi;
};

// The owner (tulajdonos): the single row, taken as the first in name order.
struct OwnerRow
{
    QVariant rowId;     // null when the table has no row
    QVariantMap fields; // every field of the row by name
};

// Values of a missing row read as empty. Engine errors propagate as EngineError.
SettingsRow ReadSettings(Engine &engine);
OwnerRow ReadOwner(Engine &engine);
// The owner's name as vouchers, reports and the window caption show it; empty without an owner row.
QString OwnerName(Engine &engine);

// Writes both rows in one transaction, the owner only in the fields given. A database without a settings row
// gets one rather than silently losing what was typed; an owner row is added only when some field is not
// empty. The row ids of added rows are stored back. The change is logged as byUser's in the same transaction.
void SaveSettings(Engine &engine, SettingsRow &settings, OwnerRow &owner, const QString &byUser);
