#include "starttill.h"

#include "messages.h"
#include "session.h"
#include "tillstore.h"

int ChooseStartTill(Session &session, Engine &engine, Messages &messages, const TillList &tills, QString *name)
{
    for (;;) {
        if (TillIds(engine).isEmpty())
            messages.ShowInfo(QStringLiteral("Ebben az adatbázisban még nincs kassza, ezért először egy kasszát kell "
                                             "létrehozni.\nA most megnyíló „Kasszák” listában az „Új sor” gombbal "
                                             "(Insert) vehet fel egyet, majd az „Elfogad” gombbal választhatja ki."));
        const int till = tills(session.till, true, name, nullptr);
        // An empty list answers 0 to "Elfogad".
        if (till == -1 || TillExists(engine, till))
            return till;
    }
}
