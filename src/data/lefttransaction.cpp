#include "lefttransaction.h"

#include "engine.h"
#include "sqlitefunctions.h"

bool RollBackLeftTransaction(Engine &engine)
{
    if (!engine.isOpen() || engine.transactionDepth() > 0 || !InTransaction(engine.database()))
        return false;
    engine.exec(QStringLiteral("ROLLBACK;"));
    return true;
}
