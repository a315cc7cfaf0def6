#pragma once

class Engine;

// Rolls back a transaction that statements run through Engine::exec began and left open (a script's BEGIN without
// its COMMIT, or one that stopped half-way), so that the program's own writes and the other workstations are not
// locked out; the engine's own transactions are left alone. True when there was one. Throws EngineError.
bool RollBackLeftTransaction(Engine &engine);
