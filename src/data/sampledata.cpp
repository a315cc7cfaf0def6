#include "sampledata.h"

#include "engine.h"
#include "tillsetup.h"
#include "tillstore.h"

#include <QDate>
#include <tuple>

namespace {

struct Client
{
    const char *name;
    const char *contact;
    const char *phone;
    const char *postcode;
    const char *town;
    const char *address;
    int days;
    double limit;
    int unit;
};

const Client Clients[] = {
    {"Kovács Péter", "Kovács Péter", "+36 30 111 2233", "1051", "Budapest", "Október 6. u. 12.", 8, 200000, 1},
    {"Szabó Anna", "Szabó Anna", "+36 20 222 3344", "6720", "Szeged", "Kárász u. 5.", 5, 100000, 2},
    {"Tóth Gábor", "Tóth Gábor", "+36 70 333 4455", "4025", "Debrecen", "Piac u. 20.", 10, 150000, 1},
    {"Nagy és Társa Bt.", "Nagy Ildikó", "+36 1 444 5566", "1117", "Budapest", "Irinyi J. u. 4.", 0, 0, 3},
    {"Horváth Éva", "Horváth Éva", "+36 30 555 6677", "7621", "Pécs", "Király u. 15.", 7, 80000, 2},
    {"Varga Zoltán", "Varga Zoltán", "+36 20 666 7788", "9021", "Győr", "Baross G. u. 9.", 14, 250000, 1},
    {"Irodaszer Kft.", "Molnár Judit", "+36 1 777 8899", "1134", "Budapest", "Váci út 33.", 0, 0, 3},
    {"Kiss Levente", "Kiss Levente", "+36 70 888 9900", "3525", "Miskolc", "Széchenyi u. 1.", 5, 50000, 2},
    {"Fehér Ágnes", "Fehér Ágnes", "+36 30 999 0011", "8000", "Székesfehérvár", "Fő u. 3.", 8, 120000, 1},
    {"Posta Zrt. fiók", "ügyfélszolgálat", "+36 1 333 7777", "6720", "Szeged", "Széchenyi tér 1.", 0, 0, 3},
};

const char *const Postcodes[][2] = {
    {"1051", "Budapest"}, {"1117", "Budapest"}, {"1134", "Budapest"},       {"3525", "Miskolc"}, {"4025", "Debrecen"},
    {"6720", "Szeged"},   {"7621", "Pécs"},     {"8000", "Székesfehérvár"}, {"9021", "Győr"},
};

QString Text(const char *s)
{
    return QString::fromUtf8(s);
}

} // namespace

void FillSampleData(Engine &engine)
{
    if (!TillIds(engine).isEmpty())
        return;

    Transaction transaction(engine);
    engine.update(QStringLiteral("tulajdonos"), QStringLiteral("rowid"), 1,
                  {{QStringLiteral("tulajdonos"), QStringLiteral("Minta Kereskedelmi Kft.")},
                   {QStringLiteral("telefon"), QStringLiteral("+36 1 234 5678")},
                   {QStringLiteral("irsz"), QStringLiteral("1051")},
                   {QStringLiteral("varos"), QStringLiteral("Budapest")},
                   {QStringLiteral("cim"), QStringLiteral("Október 6. u. 10.")},
                   {QStringLiteral("adoszam"), QStringLiteral("12345678-2-41")},
                   {QStringLiteral("bankszamlaszam"), QStringLiteral("11700000-12345678-00000000")}});

    int id = 0;
    for (const char *unit : {"Központ", "Értékesítés", "Beszerzés"})
        engine.insert(QStringLiteral("szervegyseg"),
                      {{QStringLiteral("szervegyseg"), ++id}, {QStringLiteral("szervegyseg_nev"), Text(unit)}});
    id = 0;
    for (const auto &postcode : Postcodes)
        engine.insert(QStringLiteral("irsz"), {{QStringLiteral("id"), ++id},
                                               {QStringLiteral("irsz"), Text(postcode[0])},
                                               {QStringLiteral("varos"), Text(postcode[1])}});

    const struct
    {
        const char *name;
        int sign;
        const char *advance;
    } types[] = {
        {"Készpénzfelvétel bankból", 1, "N"},
        {"Áruértékesítés készpénzért", 1, "N"},
        {"Elszámolásra kiadott pénz visszafizetése", 1, "N"},
        {"Irodaszer vásárlás", -1, "N"},
        {"Posta, futárszolgálat", -1, "N"},
        {"Készpénz befizetése bankba", -1, "N"},
        {"Elszámolásra kiadott előleg", -1, "I"},
        {"Utazási előleg", -1, "I"},
    };
    for (const auto &type : types)
        engine.insert(QStringLiteral("kasszatip"),
                      {{QStringLiteral("kasszatip_nev"), Text(type.name)},
                       {QStringLiteral("szorzo"), type.sign},
                       {QStringLiteral("kibe"), type.sign > 0 ? QStringLiteral("B") : QStringLiteral("K")},
                       {QStringLiteral("elszamolas"), Text(type.advance)}});

    for (const Client &c : Clients) {
        QVariantMap row{{QStringLiteral("ugyfel_nev"), Text(c.name)}, {QStringLiteral("kapcsolat"), Text(c.contact)},
                        {QStringLiteral("telefon"), Text(c.phone)},   {QStringLiteral("cim_irsz"), Text(c.postcode)},
                        {QStringLiteral("cim_varos"), Text(c.town)},  {QStringLiteral("cim_cim"), Text(c.address)},
                        {QStringLiteral("szervegyseg"), c.unit},      {QStringLiteral("elszamolasra"), 0.0}};
        if (c.days > 0) {
            row.insert(QStringLiteral("elszamol"), c.days);
            row.insert(QStringLiteral("elszamollimit"), c.limit);
        }
        engine.insert(QStringLiteral("ugyfel"), row);
    }

    const QDate today = QDate::currentDate();
    for (const auto &[name, currency, in, out, opening] :
         {std::tuple{"Főpénztár", "Ft", "FB", "FK", 500000.0}, {"Valuta pénztár", "EUR", "VB", "VK", 2000.0}})
        CreateTill(engine,
                   {{QStringLiteral("kassza_nev"), Text(name)},
                    {QStringLiteral("valuta"), Text(currency)},
                    {QStringLiteral("betujel_be"), Text(in)},
                    {QStringLiteral("betujel_ki"), Text(out)},
                    {QStringLiteral("nyito"), opening}},
                   QStringLiteral("rendszergazda"), today);
    transaction.commit();
}
