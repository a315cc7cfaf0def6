#pragma once

#include <QDate>

class Engine;

// Sample vouchers for a new test database, after FillSampleData: about three months of working days before
// today in both tills (sales, purchases, post, bank deposits and withdrawals, advances to clients), each stored
// pending and then booked through "Kész!" with that day as the open day, plus a few vouchers still pending.
// The tills' opening rows move back to the first sample day. Does nothing when the ledger holds anything
// besides opening rows or has no till. Throws EngineError; on failure nothing is written.
void FillSampleVouchers(Engine &engine, const QDate &today = QDate::currentDate());
