#pragma once

#include <QString>
#include <QStringList>

class Engine;

// Every distinct value of base1, base2 and base3 (szoveg…, forgjogcim…) over the whole ledger, sorted, with an
// empty entry when some value is empty: the voucher form's pick lists. Runs on the fields' indexes, so it stays
// fast on a ledger of millions of rows.
QStringList DistinctLineValues(Engine &engine, const QString &base);
