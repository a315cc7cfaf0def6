#include "clientsettlement.h"

#include "messages.h"

ClientSettlement AddToClientSettlement(Engine &engine, int client, double amount, Messages &messages, QWidget *owner)
{
    const ClientSettlement result = LedgerOps(engine).ChangeClientSettlement(client, amount);
    WarnOverLimit(result, messages, owner);
    return result;
}

void WarnOverLimit(const ClientSettlement &result, Messages &messages, QWidget *owner)
{
    if (result.found && result.overLimit)
        messages.ShowWarning(QStringLiteral("Limit túllépés."), owner);
}
