#include "tillsetup.h"

#include "engine.h"
#include "eventlog.h"
#include "ledgerops.h"
#include "util.h"

qint64 CreateTill(Engine &engine, const QVariantMap &till, const QString &user, const QDate &today)
{
    Transaction transaction(engine);
    const qint64 id = engine.insert(QStringLiteral("kassza"), till);
    // An empty opening amount stays empty in the ledger too; the balance reads it as 0.
    const QVariant opening = till.value(QStringLiteral("nyito"));
    const int dromvelid = LedgerOps(engine).NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel"));
    engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), dromvelid},
                                              {QStringLiteral("kibe"), QStringLiteral("N")},
                                              {QStringLiteral("kassza"), id},
                                              {QStringLiteral("dat_kiadva"), today},
                                              {QStringLiteral("idoszak"), today.toString(QStringLiteral("yyyyMM"))},
                                              {QStringLiteral("nyito"), 0.0},
                                              {QStringLiteral("osszeg"), opening},
                                              {QStringLiteral("zaro"), opening},
                                              {QStringLiteral("szoveg"), QStringLiteral("Pénztári nyitó megadás")},
                                              {QStringLiteral("bevetel"), 0.0},
                                              {QStringLiteral("kiadas"), 0.0},
                                              {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                                              {QStringLiteral("kiadva"), QStringLiteral("I")},
                                              {QStringLiteral("felhasznalo"), user}});
    LogEvent(engine, {QStringLiteral("Új kassza"), user, int(id), id,
                      QStringLiteral("%1, nyitó %2")
                          .arg(till.value(QStringLiteral("kassza_nev")).toString(),
                               FormatFloat(QString(), ValueOr(opening, 0.0)))});
    transaction.commit();
    return id;
}

void UpdateTill(Engine &engine, int till, const QVariantMap &changed, const QString &user)
{
    if (changed.isEmpty())
        return;
    Transaction transaction(engine);
    engine.update(QStringLiteral("kassza"), QStringLiteral("kassza"), till, changed);
    QStringList fields;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
        const QVariant &value = it.value();
        fields.append(it.key() + QLatin1Char(' ') +
                      (value.isNull()                        ? QStringLiteral("üres")
                       : value.typeId() == QMetaType::Double ? FormatFloat(QString(), value.toDouble())
                                                             : value.toString()));
    }
    const QString name =
        LedgerOps(engine).QueryText(QStringLiteral("SELECT kassza_nev FROM kassza WHERE kassza=%1;").arg(till), {});
    LogEvent(engine, {QStringLiteral("Kassza módosítása"), user, till, till,
                      name + QStringLiteral(": ") + fields.join(QStringLiteral(", "))});
    transaction.commit();
}
