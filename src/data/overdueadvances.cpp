#include "overdueadvances.h"

#include "query.h"

QList<OverdueAdvance> OverdueAdvances(Engine &engine, int till, const QDate &day)
{
    Query q(engine, QStringLiteral("SELECT dromvel.dromvel, dromvel.betujel, dromvel.ssz, ugyfel.ugyfel_nev, "
                                   "dromvel.osszeg, dromvel.elszamol_kell_dat FROM dromvel "
                                   "LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel) "
                                   "WHERE dromvel.kassza=:pkassza AND dromvel.kiadva='I' AND "
                                   "dromvel.elszamol_kell='I' AND dromvel.elszamolva='N' AND "
                                   "dromvel.elszamol_kell_dat < :pnap "
                                   "ORDER BY dromvel.elszamol_kell_dat, dromvel.dromvelid;"));
    q.setInt(QStringLiteral("pkassza"), till);
    q.setDate(QStringLiteral("pnap"), day);
    q.open();
    QList<OverdueAdvance> advances;
    while (q.next())
        advances.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toString(),
                         q.value(4).toDouble(), q.value(5).toDate()});
    return advances;
}
