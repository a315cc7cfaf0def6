#pragma once

#include "ledgerops.h"

class Engine;
class Messages;
class QWidget;

// The client's advance total as the screens change it: the change itself is LedgerOps::ChangeClientSettlement,
// which shows nothing and so can run inside a transaction; the warning follows once the write is done.

// ChangeClientSettlement, then the warning "Limit túllépés." when the total is over the limit.
ClientSettlement AddToClientSettlement(Engine &engine, int client, double amount, Messages &messages,
                                       QWidget *owner = nullptr);
// "Limit túllépés." for a client whose total went over its limit; nothing otherwise.
void WarnOverLimit(const ClientSettlement &result, Messages &messages, QWidget *owner = nullptr);
