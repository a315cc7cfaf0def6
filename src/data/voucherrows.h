#pragma once

#include <QDate>
#include <QVariantMap>

class Engine;

// The ledger rows (dromvel) as the voucher services read and write them. A row counts as pending unless it is
// marked booked (kiadva 'I'); the guarded writes change a row only while it is pending. Engine errors propagate
// as EngineError.

// Every field of the row by name; empty when the row does not exist.
QVariantMap ReadVoucherRow(Engine &engine, int dromvel);
// Writes the values into the row while it is pending; returns the rows changed (0 or 1).
int UpdatePendingRow(Engine &engine, int dromvel, QVariantMap values);
// Deletes the row while it is pending; returns the rows deleted (0 or 1).
int DeletePendingRow(Engine &engine, int dromvel);
// Inserts a new row and returns its key.
int InsertVoucherRow(Engine &engine, QVariantMap values);
// The row with its till's letter codes betujel_be and betujel_ki; empty when the row or its till does not exist.
QVariantMap ReadAdvanceRow(Engine &engine, int dromvel);
// Writes the settlement values into a booked advance while it is unsettled; returns the rows changed (0 or 1).
int SettleAdvanceRow(Engine &engine, int dromvel, QVariantMap values);
// True when a booked row other than the given one carries the serial of the letter code.
bool SerialBookedElsewhere(Engine &engine, const QString &betujel, int ssz, int dromvel);
// Dates every till's opening row (kibe 'N') on the day, with its period keys.
void DateOpeningRows(Engine &engine, const QDate &day);
