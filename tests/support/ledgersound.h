#pragma once

#include "ledgercheck.h"

#include <QtTest>

// Fails the running test with every finding of the ledger check, so a test of a write of several steps can
// say in one line that the ledger is still sound afterwards.
#define QVERIFY_LEDGER_SOUND(engine)                                                                                   \
    do {                                                                                                               \
        const QStringList ledgerFindings_ = LedgerCheck::run(engine);                                                  \
        QVERIFY2(ledgerFindings_.isEmpty(), qPrintable(ledgerFindings_.join(QLatin1Char('\n'))));                      \
    } while (false)
