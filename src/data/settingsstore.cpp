#include "settingsstore.h"

#include "engine.h"
#include "eventlog.h"
#include "query.h"

namespace {

QString Flag(bool on)
{
    return on ? QStringLiteral("I") : QStringLiteral("N");
}

} // namespace

SettingsRow ReadSettings(Engine &engine)
{
    Query q(engine,
            QStringLiteral("SELECT rowid, vanbelep, autonyomtat, metodus, formatft, kpfizetes_havi FROM beallit "
                           "ORDER BY beallit LIMIT 1;"));
    q.open();
    SettingsRow row;
    if (q.next()) {
        row.rowId = q.value(0);
        row.vanBelep = q.value(1).toString() == QLatin1String("I");
        row.autoNyomtat = q.value(2).toString() == QLatin1String("I");
        row.metodus = q.value(3);
        row.formatFt = q.value(4).toString();
        row.kpFizetesHavi = q.value(5);
    }
    q.close();
    return row;
}

OwnerRow ReadOwner(Engine &engine)
{
    Query q(engine, QStringLiteral("SELECT rowid, * FROM tulajdonos ORDER BY tulajdonos LIMIT 1;"));
    q.open();
    OwnerRow row;
    if (q.next()) {
        row.rowId = q.value(0);
        // The server's tables hold their row id among their fields.
        for (int i = 1; i < q.fieldCount(); ++i)
            if (q.fieldName(i).compare(QLatin1String("rowid"), Qt::CaseInsensitive) != 0)
                row.fields.insert(q.fieldName(i), q.value(i));
    }
    q.close();
    return row;
}

QString OwnerName(Engine &engine)
{
    return ReadOwner(engine).fields.value(QStringLiteral("tulajdonos")).toString();
}

void SaveSettings(Engine &engine, SettingsRow &settings, OwnerRow &owner, const QString &byUser)
{
    QVariantMap values{
        {QStringLiteral("vanbelep"), Flag(settings.vanBelep)},
        {QStringLiteral("autonyomtat"), Flag(settings.autoNyomtat)},
        {QStringLiteral("metodus"), settings.metodus},
        {QStringLiteral("formatft"), settings.formatFt},
        {QStringLiteral("kpfizetes_havi"), settings.kpFizetesHavi},
    };
    bool ownerGiven = false;
    for (const QVariant &value : owner.fields)
        ownerGiven = ownerGiven || !value.toString().isEmpty();

    Transaction transaction(engine);
    if (settings.rowId.isNull()) {
        values.insert(QStringLiteral("beallit"), 1);
        settings.rowId = engine.insert(QStringLiteral("beallit"), values);
    } else {
        engine.update(QStringLiteral("beallit"), QStringLiteral("rowid"), settings.rowId, values);
    }
    // The owner's name is its key but may still be empty, so the row is found by its row id.
    if (!owner.rowId.isNull())
        engine.update(QStringLiteral("tulajdonos"), QStringLiteral("rowid"), owner.rowId, owner.fields);
    else if (ownerGiven)
        owner.rowId = engine.insert(QStringLiteral("tulajdonos"), owner.fields);
    LogEvent(
        engine,
        {QStringLiteral("Beállítások"), byUser, 0, settings.rowId.toLongLong(),
         QStringLiteral("belépés: %1, automatikus nyomtatás: %2, módszer: %3, formátum: %4, havi készpénzkorlát: "
                        "%5, tulajdonos: %6")
             .arg(Flag(settings.vanBelep), Flag(settings.autoNyomtat), settings.metodus.toString(), settings.formatFt,
                  settings.kpFizetesHavi.toString(), owner.fields.value(QStringLiteral("tulajdonos")).toString())});
    transaction.commit();
}
