#include "users.h"

#include "engine.h"
#include "query.h"

std::optional<UserRights> FindUser(Engine &engine, const QString &code, const QString &password)
{
    if (code.isEmpty() || password.isEmpty())
        return std::nullopt;
    // SQLite compares texts byte by byte, so the code must match in letter case as well.
    Query q(engine, QStringLiteral("SELECT felhasznalo, felhasznalo_nev, jelszo, rendszergazda, torzsszerkeszt "
                                   "FROM felhasznalo WHERE felhasznalo = :pfelhasznalo;"));
    q.setText(QStringLiteral("pfelhasznalo"), code);
    q.open();
    while (q.next()) {
        const QVariant stored = q.value(2);
        if (stored.isNull() || stored.toString() != password)
            continue;
        UserRights user;
        user.code = q.value(0).toString();
        user.name = q.value(1).toString();
        user.admin = q.value(3).toString() == QLatin1String("I");
        user.masterEdit = q.value(4).toString() == QLatin1String("I");
        return user;
    }
    return std::nullopt;
}

bool StorePassword(Engine &engine, const QString &code, const QString &password)
{
    return engine.update(QStringLiteral("felhasznalo"), QStringLiteral("felhasznalo"), code,
                         {{QStringLiteral("jelszo"), password}}) > 0;
}
