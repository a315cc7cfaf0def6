#include "lefttransaction.h"

#include "engine.h"

bool RollBackLeftTransaction(Engine &engine)
{
    if (!engine.isOpen() || engine.transactionDepth() > 0 || !engine.inTransaction())
        return false;
    engine.exec(QStringLiteral("ROLLBACK;"));
    return true;
}
