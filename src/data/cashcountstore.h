#pragma once

#include "cashcount.h"

#include <optional>

class Engine;

// The cash count of a closing in penztarellenorzes, one row per line in line order. Engine errors propagate as
// EngineError.

// Writes the lines; the caller's transaction (the closing's own) holds the write.
void WriteCashCount(Engine &engine, int zarbizonylat, const CashCount &count);
// The closing's count; nothing when the count was skipped.
std::optional<CashCount> ReadCashCount(Engine &engine, int zarbizonylat);
