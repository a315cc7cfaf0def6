#pragma once

#include <QIcon>

// The three states of an advance, drawn in the ledger grid's first column.
namespace SettlementIcons {
QIcon NoSettlement();
QIcon Settled();
QIcon Awaiting();
} // namespace SettlementIcons
