#include "serverschema.h"

#include "schema.h"

namespace ServerSchema {

QStringList DatabaseSetupSql()
{
    return {
        // Unquoted, HU in a statement is this collation; "kn": numbers within a text in their numeric order.
        QStringLiteral("CREATE COLLATION IF NOT EXISTS hu "
                       "(provider = icu, locale = 'hu-HU-u-kn-ks-level2', deterministic = false);"),
        QStringLiteral("CREATE OR REPLACE FUNCTION dromvel_follow_key() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                       "DECLARE\n"
                       "    counter text := pg_get_serial_sequence(quote_ident(TG_TABLE_NAME), TG_ARGV[0]);\n"
                       "    top bigint;\n"
                       "BEGIN\n"
                       "    EXECUTE format('SELECT max(%I) FROM %I', TG_ARGV[0], TG_TABLE_NAME) INTO top;\n"
                       "    IF top > coalesce(pg_sequence_last_value(counter::regclass), 0) THEN\n"
                       "        PERFORM setval(counter, top);\n"
                       "    END IF;\n"
                       "    RETURN NULL;\n"
                       "END $$;"),
    };
}

QStringList TableSetupSql(const TableDef &table)
{
    const QString key = Schema::AutoKey(table);
    if (key.isEmpty())
        return {};
    return {QStringLiteral("CREATE TRIGGER %1_follow_key AFTER INSERT ON %1 FOR EACH STATEMENT "
                           "EXECUTE FUNCTION dromvel_follow_key('%2');")
                .arg(table.name, key)};
}

QString UpperCheckSql()
{
    return QStringLiteral("SELECT upper('áéíóöőúüű') = 'ÁÉÍÓÖŐÚÜŰ';");
}

QString WriteLockSql()
{
    // "DROM" as a number.
    return QStringLiteral("SELECT pg_advisory_xact_lock(1146244941);");
}

} // namespace ServerSchema
