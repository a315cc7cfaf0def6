#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>

class Engine;

// One item line of a cash voucher.
struct VoucherItem
{
    QString forgjogcim;
    QString bizszam;
    QString szoveg;
    QVariant osszeg; // NULL prints empty
};

// A ledger row as the cash voucher prints it.
struct VoucherRow
{
    qint64 dromvel = 0;
    QString kibe;
    QString kibeNev;
    QString sorszam; // VoucherNumber of betujel and ssz
    QDate datKiadva;
    QString ugyfelNev;
    QString szigszam;
    std::array<VoucherItem, 3> items;
    QString felhasznaloNev;
    QVariant osszeg;
    QString valuta;
};

// A booked advance as the cash request prints it.
struct RequestRow
{
    QVariant elszamolSsz;
    QDate datKiadva;
    QString ugyfelNev;
    QString szervegysegNev;
    QVariant osszeg;
    QString szoveg1;
    QDate elszamolKellDat;
    QString sorszam;
};

// What every voucher document prints besides its rows.
struct VoucherSettings
{
    QString owner;    // the issuer: tulajdonos of the owner row
    QString formatFt; // amount format
    QString footer;   // the fixed text under each copy; the program's documents leave it empty
    QDateTime printedAt;
};

// Amount with the format; NULL gives the empty text.
QString FormattedAmount(const QString &format, const QVariant &amount);
// The desktop's short date; an invalid date gives the empty text.
QString ShortDate(const QDate &date);

// Readers of the documents' queries. An unknown row gives an empty list.
QList<VoucherRow> ReadVoucher(Engine &engine, qint64 row);
QList<VoucherRow> ReadPeriodVouchers(Engine &engine, int till, const QDate &from, const QDate &to);
QList<RequestRow> ReadRequest(Engine &engine, qint64 row);
// The settings as they stand now: owner from the database, format from the session's value.
VoucherSettings CurrentVoucherSettings(Engine &engine, const QString &formatFt);
