#include "reportheadings.h"

#include "ledgerops.h"
#include "query.h"
#include "settingsstore.h"
#include "tillstore.h"
#include "util.h"

namespace {

QString Text(const Query &q, int position)
{
    return ValueOr(q.value(position), QString());
}

} // namespace

OwnerHeading ReadOwnerHeading(Engine &engine)
{
    const QVariantMap fields = ReadOwner(engine).fields;
    const auto text = [&fields](const char *name) { return ValueOr(fields.value(QLatin1String(name)), QString()); };
    OwnerHeading owner{text("tulajdonos"), text("telefon"), QString()};
    const QString irsz = text("irsz"), varos = text("varos"), cim = text("cim");
    if (!(irsz.isEmpty() && varos.isEmpty() && cim.isEmpty()))
        owner.irszvaros = irsz + QLatin1Char(' ') + varos + QStringLiteral(", ") + cim;
    return owner;
}

TillHeading ReadTillHeading(Engine &engine, int till)
{
    return {LedgerOps(engine).TillName(till), TillCurrency(engine, till)};
}

ClosingHeading ReadClosingHeading(Engine &engine, int zarbizonylat)
{
    Query q(engine, QStringLiteral("SELECT kassza.kassza_nev, kassza.valuta, zarbizonylat.dat_tol, "
                                   "zarbizonylat.dat_ig, zarbizonylat.nyito, zarbizonylat.zaro, "
                                   "zarbizonylat.zaro_max FROM zarbizonylat "
                                   "LEFT OUTER JOIN kassza ON (zarbizonylat.kassza = kassza.kassza) "
                                   "WHERE zarbizonylat.zarbizonylat = :pzarbizonylat;"));
    q.setInt(QStringLiteral("pzarbizonylat"), zarbizonylat);
    q.open();
    ClosingHeading closing;
    closing.zarbizonylat = zarbizonylat;
    if (q.next()) {
        closing.kasszaNev = Text(q, 0);
        closing.valuta = Text(q, 1);
        closing.datTol = q.value(2).toDate();
        closing.datIg = q.value(3).toDate();
        closing.nyito = ValueOr(q.value(4), 0.0);
        closing.zaro = ValueOr(q.value(5), 0.0);
        if (!q.value(6).isNull())
            closing.zaroMax = q.value(6).toDouble();
    }
    return closing;
}
