#include "masterlists.h"

QStringList TillListLines()
{
    return {QStringLiteral("SELECT kassza_nev, valuta, betujel_be, betujel_ki, kassza, zaro_max"),
            QStringLiteral("FROM kassza"), QStringLiteral("ORDER BY kassza_nev;")};
}

QStringList MovementTypeListLines()
{
    return {QStringLiteral("SELECT kasszatip.kasszatip_nev, kibe.nev, kasszatip.kasszatip, kasszatip.szorzo, "
                           "kasszatip.kibe, kasszatip.elszamolas"),
            QStringLiteral("FROM kasszatip LEFT OUTER JOIN kibe ON kibe.kibe = kasszatip.kibe"),
            QStringLiteral("ORDER BY kasszatip_nev;")};
}

QStringList ClientListLines()
{
    return {QStringLiteral("SELECT ugyfel_nev, cim_irsz, cim_varos, cim_cim, elszamolasra, elszamollimit, "
                           "ugyfel, kapcsolat, telefon, fax, mobil, emil, bankszamla, szigszam, elszamol, "
                           "szervegyseg"),
            QStringLiteral("FROM ugyfel"), QStringLiteral("ORDER BY ugyfel_nev;")};
}
