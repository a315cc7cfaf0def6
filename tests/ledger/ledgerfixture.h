#pragma once

#include "bookingcheck.h"
#include "query.h"
#include "testdatabase.h"
#include "tillsetup.h"
#include "util.h"

// A fresh database folder with tills, movement types and clients, and a session on it.
class LedgerFixture : public TestDatabase
{
public:
    enum Type { Receipt = 1, Payment, AdvanceType, OtherDirection };

    void open(const QString &connection, const QDate &openDay = QDate::currentDate())
    {
        fresh(connection);
        session.user = QStringLiteral("teszt");
        session.formatFt = QStringLiteral("### ### ##0");
        session.openDay = openDay;
        session.till = 1;

        for (const auto &[name, kibe, advance] : {std::tuple{"Áru eladás", "B", "N"},
                                                  {"Irodaszer", "K", "N"},
                                                  {"Előleg", "K", "I"},
                                                  {"Átvezetés", "X", "N"}})
            engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QString::fromUtf8(name)},
                                                         {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
                                                         {QStringLiteral("elszamolas"), QString::fromLatin1(advance)}});
        // Client 1 has a limit, client 2 none.
        engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Péter")},
                                                  {QStringLiteral("elszamol"), 8},
                                                  {QStringLiteral("elszamollimit"), 1000.0}});
        engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Szabó Anna")}});
    }
    // A till with its opening row, booked on the open day.
    int till(const QString &name, const QString &in, const QString &out, double opening)
    {
        return int(CreateTill(*engine,
                              {{QStringLiteral("kassza_nev"), name},
                               {QStringLiteral("valuta"), QStringLiteral("Ft")},
                               {QStringLiteral("betujel_be"), in},
                               {QStringLiteral("betujel_ki"), out},
                               {QStringLiteral("nyito"), opening}},
                              QStringLiteral("teszt"), session.openDay));
    }

    // A pending voucher as the form stores it.
    int pending(int tillId, Type type, double amount, const QDate &date, int client = 1)
    {
        const char *kibe = type == Receipt ? "B" : type == OtherDirection ? "X" : "K";
        const QString code = scalar(QStringLiteral("SELECT %1 FROM kassza WHERE kassza=%2;")
                                        .arg(type == Receipt || type == OtherDirection ? "betujel_be" : "betujel_ki")
                                        .arg(tillId))
                                 .toString();
        return int(engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), tillId},
                                                              {QStringLiteral("kasszatip"), int(type)},
                                                              {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
                                                              {QStringLiteral("betujel"), code},
                                                              {QStringLiteral("ugyfel"), client},
                                                              {QStringLiteral("dat_kiadva"), date},
                                                              {QStringLiteral("osszeg"), amount},
                                                              {QStringLiteral("osszeg1"), amount},
                                                              {QStringLiteral("dromvelid"), 0},
                                                              {QStringLiteral("ssz"), 0},
                                                              {QStringLiteral("elszamol_ssz"), 0},
                                                              {QStringLiteral("elszamol_kell"),
                                                               QString::fromLatin1(type == AdvanceType ? "I" : "N")},
                                                              {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                              {QStringLiteral("elszamolva"), QStringLiteral("N")},
                                                              {QStringLiteral("lezarva"), QStringLiteral("N")}}));
    }

    QVariant scalar(const QString &sql) const
    {
        Query q(*engine, sql);
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }
    QVariant value(int dromvel, const char *field) const
    {
        return scalar(
            QStringLiteral("SELECT %1 FROM dromvel WHERE dromvel=%2;").arg(QLatin1String(field)).arg(dromvel));
    }
    bool isBooked(int dromvel) const { return value(dromvel, "kiadva").toString() == QLatin1String("I"); }
    double clientTotal(int client) const
    {
        return scalar(QStringLiteral("SELECT elszamolasra FROM ugyfel WHERE ugyfel=%1;").arg(client)).toDouble();
    }
};

// A booking that keeps to no day, as a workstation with back-dating on books.
inline BookingDay AnyDay()
{
    return {QDate::currentDate(), QDate(), DateRule::AnyDay, QStringLiteral("teszt")};
}
