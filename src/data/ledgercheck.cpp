#include "ledgercheck.h"

#include "engine.h"
#include "ledgerops.h"
#include "util.h"

#include <QDate>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace {

// Balances are floating point; anything below half a fillér is rounding.
constexpr double Tolerance = 0.005;

QString Money(double value)
{
    return FormatFloat(QStringLiteral("### ### ### ##0.##"), value);
}

QString DateText(const QString &iso)
{
    const QDate date = QDate::fromString(iso, Qt::ISODate);
    return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd.")) : QStringLiteral("üres");
}

QString ClosingNumber(qint64 number)
{
    return QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'));
}

QString RowList(const QList<qint64> &rows)
{
    QStringList texts;
    for (qint64 row : rows)
        texts.append(QString::number(row));
    return texts.join(QStringLiteral(", "));
}

bool Differ(double a, double b)
{
    return std::fabs(a - b) > Tolerance;
}

// A forward-only pass over a statement's rows.
class Pass
{
public:
    Pass(Engine &engine, const QString &sql) : m_query(engine.database())
    {
        m_query.setForwardOnly(true);
        if (!m_query.exec(sql))
            throw EngineError::from(m_query.lastError());
    }
    bool next()
    {
        if (m_query.next())
            return true;
        if (m_query.lastError().isValid())
            throw EngineError::from(m_query.lastError());
        return false;
    }
    QVariant value(int i) const { return m_query.value(i); }
    qint64 whole(int i) const { return ValueOr(m_query.value(i), qint64(0)); }
    double amount(int i) const { return ValueOr(m_query.value(i), 0.0); }
    QString text(int i) const { return ValueOr(m_query.value(i), QString()); }

private:
    QSqlQuery m_query;
};

// What the ledger pass gathers about the rows one closing record stamped.
struct Stamped
{
    qint64 till = 0;
    qint64 firstRow = 0, lastRow = 0;
    double firstNyito = 0, lastZaro = 0;
    QString firstDate, lastDate, minDate, maxDate;
    qint64 foreignRow = 0; // a row of another till, 0 when none
    qint64 foreignTill = 0;
};

class Checker
{
public:
    explicit Checker(Engine &engine) : m_engine(engine) {}

    void step(const QString &name, void (Checker::*check)(), const std::function<void(const QString &)> &status)
    {
        if (status)
            status(name);
        // A step that fails leaves the snapshot usable for the next (a server refuses every further statement
        // of a transaction in which one failed, until it is rolled back to before it).
        m_engine.exec(QStringLiteral("SAVEPOINT check_step;"));
        try {
            (this->*check)();
            m_engine.exec(QStringLiteral("RELEASE check_step;"));
        } catch (const EngineError &e) {
            add(QStringLiteral("Az ellenőrzés egy része nem futott le (%1): %2").arg(name, e.message()));
            m_engine.exec(QStringLiteral("ROLLBACK TO check_step;"));
            m_engine.exec(QStringLiteral("RELEASE check_step;"));
        }
    }

    void integrity()
    {
        // A server keeps its own files; there is no file of ours to read through.
        if (m_engine.isServer())
            return;
        Pass q(m_engine, QStringLiteral("PRAGMA integrity_check;"));
        while (q.next()) {
            const QString line = q.text(0);
            if (line != QLatin1String("ok"))
                add(QStringLiteral("Az adatbázis fájl sérült: %1").arg(line));
        }
    }

    void tillNames()
    {
        Pass q(m_engine, QStringLiteral("SELECT kassza, kassza_nev FROM kassza;"));
        while (q.next())
            m_tillNames.insert(q.whole(0), q.text(1));
    }

    // Booking numbers, the balance chains, serials missing from booked vouchers, settlement numbers missing from
    // booked advances, closed rows and the clients' open advances: one pass over the whole ledger in booking order.
    void ledger()
    {
        Pass q(m_engine,
               QStringLiteral("SELECT dromvel, dromvelid, kassza, kibe, kiadva, nyito, osszeg, zaro, betujel, "
                              "ssz, dat_kiadva, lezarva, zarbizonylat, ugyfel, elszamol_kell, elszamolva, elszamol_ssz "
                              "FROM dromvel ORDER BY dromvelid, dromvel;"));
        QHash<qint64, double> lastZaro;
        qint64 sameId = 0;
        QList<qint64> sameIdRows;
        auto flushSameId = [&] {
            if (sameIdRows.size() > 1)
                add(QStringLiteral("A(z) %1 könyvelési sorszám (dromvelid) több könyvelt soron is szerepel: %2. sor.")
                        .arg(sameId)
                        .arg(RowList(sameIdRows)));
            sameIdRows.clear();
        };
        while (q.next()) {
            const qint64 row = q.whole(0);
            const qint64 id = q.whole(1);
            const qint64 till = q.whole(2);
            const QString kibe = q.text(3);
            const bool booked = q.text(4) == QLatin1String("I");
            const double nyito = q.amount(5), osszeg = q.amount(6), zaro = q.amount(7);
            const QString voucher = Voucher(row, q.value(8), q.value(9));
            const QString date = q.text(10);
            const bool closed = q.text(11) == QLatin1String("I");
            const qint64 closing = q.whole(12);

            if (booked) {
                if (id <= 0) {
                    add(QStringLiteral("%1 könyvelt, de nincs könyvelési sorszáma (dromvelid).").arg(voucher));
                } else {
                    if (id != sameId)
                        flushSameId();
                    sameId = id;
                    sameIdRows.append(row);
                }
                if (kibe != QLatin1String("N") && q.whole(9) <= 0)
                    add(QStringLiteral("A(z) %1. sor könyvelt bizonylat, de nincs bizonylatszáma.").arg(row));

                const auto previous = lastZaro.constFind(till);
                if (previous != lastZaro.cend() && Differ(nyito, *previous))
                    add(QStringLiteral("%1, %2: a nyitó egyenleg %3, de az előző könyvelt bizonylat záró egyenlege %4.")
                            .arg(TillText(till), voucher, Money(nyito), Money(*previous)));
                if (kibe != QLatin1String("N")) {
                    const double expected = kibe == QLatin1String("K") ? nyito - osszeg : nyito + osszeg;
                    if (Differ(zaro, expected))
                        add(QStringLiteral("%1, %2: a záró egyenleg %3, de a nyitó egyenleg és az összeg szerint %4.")
                                .arg(TillText(till), voucher, Money(zaro), Money(expected)));
                }
                lastZaro.insert(till, zaro);

                const bool advance = q.text(14) == QLatin1String("I");
                if (advance && q.whole(16) <= 0)
                    add(QStringLiteral("%1 könyvelt előleg, de nincs elszámolási sorszáma.").arg(voucher));
                if (advance && q.text(15) != QLatin1String("I"))
                    m_advances[q.whole(13)] += osszeg;
            }

            if (closed && !booked)
                add(QStringLiteral("%1 le van zárva, de nincs könyvelve.").arg(voucher));
            else if (closed && closing <= 0)
                add(QStringLiteral("%1 le van zárva, de nincs zárási bizonylata.").arg(voucher));
            else if (!closed && closing > 0)
                add(QStringLiteral("%1 a(z) %2 számú zárásra hivatkozik, de nincs lezárva.")
                        .arg(voucher, ClosingNumber(closing)));
            else if (closed)
                stamp(closing, row, till, nyito, zaro, date);
        }
        flushSameId();
    }

    void serials()
    {
        Pass q(m_engine, QStringLiteral("SELECT betujel, ssz, dromvel FROM dromvel WHERE ssz > 0 "
                                        "ORDER BY betujel, ssz, dromvel;"));
        bool first = true;
        QVariant code;
        qint64 expected = 1, last = 0;
        QList<qint64> rows;
        auto flush = [&] {
            if (rows.size() > 1)
                add(QStringLiteral("A(z) %1 bizonylatszám több soron is szerepel: %2. sor.")
                        .arg(LedgerOps::VoucherNumber(code, last), RowList(rows)));
            rows.clear();
        };
        while (q.next()) {
            const QVariant rowCode = q.value(0);
            const qint64 ssz = q.whole(1);
            if (first || rowCode.toString() != code.toString()) {
                flush();
                code = rowCode;
                expected = 1;
                first = false;
            } else if (ssz != last) {
                flush();
            }
            if (ssz > expected) {
                if (ssz == expected + 1)
                    add(QStringLiteral("Hiányzó bizonylatszám: %1.").arg(LedgerOps::VoucherNumber(code, expected)));
                else
                    add(QStringLiteral("Hiányzó bizonylatszámok: %1 – %2 (%3 darab).")
                            .arg(LedgerOps::VoucherNumber(code, expected), LedgerOps::VoucherNumber(code, ssz - 1))
                            .arg(ssz - expected));
            }
            expected = std::max(expected, ssz + 1);
            last = ssz;
            rows.append(q.whole(2));
        }
        flush();
    }

    void settlementNumbers()
    {
        Pass q(m_engine, QStringLiteral("SELECT elszamol_ssz, dromvel FROM dromvel WHERE elszamol_ssz > 0 "
                                        "ORDER BY elszamol_ssz, dromvel;"));
        qint64 last = 0;
        QList<qint64> rows;
        auto flush = [&] {
            if (rows.size() > 1)
                add(QStringLiteral("A(z) %1 elszámolási sorszám több soron is szerepel: %2. sor.")
                        .arg(last)
                        .arg(RowList(rows)));
            rows.clear();
        };
        while (q.next()) {
            if (q.whole(0) != last)
                flush();
            last = q.whole(0);
            rows.append(q.whole(1));
        }
        flush();
    }

    void closings()
    {
        Pass q(m_engine, QStringLiteral("SELECT zarbizonylat, kassza, dat_tol, dat_ig, nyito, zaro FROM zarbizonylat "
                                        "ORDER BY zarbizonylat;"));
        while (q.next()) {
            const qint64 number = q.whole(0);
            const QString name = QStringLiteral("A(z) %1 számú zárás").arg(ClosingNumber(number));
            const auto it = m_stamped.constFind(number);
            if (it == m_stamped.cend()) {
                add(name + QStringLiteral(" egyetlen könyvelt sort sem zárt le."));
                continue;
            }
            const Stamped &s = *it;
            const qint64 till = q.whole(1);
            if (till != s.till)
                add(QStringLiteral("%1 %2 zárása, de %3 sorait zárta le (először a(z) %4. sort).")
                        .arg(name, TillText(till), TillText(s.till))
                        .arg(s.firstRow));
            else if (s.foreignRow != 0)
                add(QStringLiteral("%1 %2 zárása, de a(z) %3. sort is lezárta, amely %4 sora.")
                        .arg(name, TillText(till))
                        .arg(s.foreignRow)
                        .arg(TillText(s.foreignTill)));
            if (Differ(q.amount(4), s.firstNyito))
                add(QStringLiteral("%1 nyitó egyenlege %2, de az első lezárt soráé (%3. sor) %4.")
                        .arg(name, Money(q.amount(4)))
                        .arg(s.firstRow)
                        .arg(Money(s.firstNyito)));
            if (Differ(q.amount(5), s.lastZaro))
                add(QStringLiteral("%1 záró egyenlege %2, de az utolsó lezárt soráé (%3. sor) %4.")
                        .arg(name, Money(q.amount(5)))
                        .arg(s.lastRow)
                        .arg(Money(s.lastZaro)));
            const QString from = q.text(2), to = q.text(3);
            const bool firstAndLast = from == s.firstDate && to == s.lastDate;
            const bool spans = !from.isEmpty() && !to.isEmpty() && from <= s.minDate && to >= s.maxDate;
            if (!firstAndLast && !spans)
                add(QStringLiteral("%1 időszaka (%2 – %3) nem fedi le a lezárt sorai dátumát (%4 – %5).")
                        .arg(name, DateText(from), DateText(to), DateText(s.minDate), DateText(s.maxDate)));
            m_stamped.remove(number);
        }
        for (auto it = m_stamped.cbegin(); it != m_stamped.cend(); ++it)
            add(QStringLiteral("A(z) %1 számú zárás nem létezik, pedig lezárt sorok hivatkoznak rá (először a(z) "
                               "%2. sor).")
                    .arg(ClosingNumber(it.key()))
                    .arg(it->firstRow));
    }

    void clients()
    {
        Pass q(m_engine, QStringLiteral("SELECT ugyfel, ugyfel_nev, elszamolasra FROM ugyfel ORDER BY ugyfel;"));
        while (q.next()) {
            const double open = m_advances.value(q.whole(0), 0.0);
            if (Differ(q.amount(2), open))
                add(QStringLiteral("%1 (%2. ügyfél): az elszámolásra kiadott összeg %3, de az elszámolatlan "
                                   "előlegek összege %4.")
                        .arg(q.text(1).isEmpty() ? QStringLiteral("Névtelen ügyfél") : q.text(1))
                        .arg(q.whole(0))
                        .arg(Money(q.amount(2)), Money(open)));
        }
    }

    QStringList findings() const
    {
        QStringList result = m_findings;
        if (m_total > m_findings.size())
            result.append(QStringLiteral("… és további %1 hiba.").arg(m_total - m_findings.size()));
        return result;
    }

private:
    void add(const QString &finding)
    {
        ++m_total;
        // Sentences may start with a name or an article; the list shows each as a sentence.
        if (m_findings.size() < LedgerCheck::MaxFindings)
            m_findings.append(finding.left(1).toUpper() + finding.mid(1));
    }

    static QString Voucher(qint64 row, const QVariant &betujel, const QVariant &ssz)
    {
        if (ValueOr(ssz, qint64(0)) <= 0)
            return QStringLiteral("a(z) %1. sor").arg(row);
        return QStringLiteral("a(z) %1 bizonylat (%2. sor)").arg(LedgerOps::VoucherNumber(betujel, ssz)).arg(row);
    }

    QString TillText(qint64 till) const
    {
        const QString name = m_tillNames.value(till);
        return name.isEmpty() ? QStringLiteral("a(z) %1. kassza").arg(till)
                              : QStringLiteral("a(z) „%1” kassza").arg(name);
    }

    void stamp(qint64 closing, qint64 row, qint64 till, double nyito, double zaro, const QString &date)
    {
        auto it = m_stamped.find(closing);
        if (it == m_stamped.end()) {
            Stamped s;
            s.till = till;
            s.firstRow = row;
            s.firstNyito = nyito;
            s.firstDate = s.minDate = s.maxDate = date;
            it = m_stamped.insert(closing, s);
        } else if (till != it->till && it->foreignRow == 0) {
            it->foreignRow = row;
            it->foreignTill = till;
        }
        it->lastRow = row;
        it->lastZaro = zaro;
        it->lastDate = date;
        it->minDate = std::min(it->minDate, date);
        it->maxDate = std::max(it->maxDate, date);
    }

    Engine &m_engine;
    QStringList m_findings;
    int m_total = 0;
    QHash<qint64, QString> m_tillNames;
    QHash<qint64, double> m_advances; // client -> booked, unsettled advances
    QHash<qint64, Stamped> m_stamped; // closing record -> the rows it closed
};

// All checks read one snapshot, even while other workstations write.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(Engine &engine) : m_engine(engine), m_own(engine.transactionDepth() == 0)
    {
        if (m_own)
            m_engine.exec(m_engine.beginReadSql());
    }
    ~ReadSnapshot()
    {
        if (!m_own)
            return;
        try {
            m_engine.exec(QStringLiteral("ROLLBACK;"));
        } catch (const EngineError &) {
            // Nothing was written; the snapshot ends with the connection at the latest.
        }
    }
    ReadSnapshot(const ReadSnapshot &) = delete;
    ReadSnapshot &operator=(const ReadSnapshot &) = delete;

private:
    Engine &m_engine;
    bool m_own;
};

} // namespace

QStringList LedgerCheck::run(Engine &engine, const std::function<void(const QString &)> &status)
{
    ReadSnapshot snapshot(engine);
    Checker checker(engine);
    checker.step(QStringLiteral("adatbázis fájl"), &Checker::integrity, status);
    checker.step(QStringLiteral("kasszák"), &Checker::tillNames, status);
    checker.step(QStringLiteral("könyvelési sorszámok és egyenlegek"), &Checker::ledger, status);
    checker.step(QStringLiteral("bizonylatszámok"), &Checker::serials, status);
    checker.step(QStringLiteral("elszámolási sorszámok"), &Checker::settlementNumbers, status);
    checker.step(QStringLiteral("napi zárások"), &Checker::closings, status);
    checker.step(QStringLiteral("ügyfelek előlegei"), &Checker::clients, status);
    return checker.findings();
}

QStringList LedgerCheck::runOn(const QString &database, const QString &password)
{
    try {
        Engine engine(QStringLiteral("DromvelCheck"));
        engine.setPassword(password);
        engine.open(database);
        return run(engine);
    } catch (const EngineError &e) {
        return {QStringLiteral("Az adatbázis nem ellenőrizhető: ") + e.message()};
    }
}

QString LedgerCheck::report(const QStringList &findings)
{
    return findings.isEmpty() ? QStringLiteral("Nincs hiba.") : findings.join(QLatin1Char('\n'));
}

QString LedgerCheck::summary(const QStringList &findings)
{
    if (findings.isEmpty())
        return QStringLiteral("Nincs hiba.");
    if (findings.size() > MaxFindings)
        return QStringLiteral("Több mint %1 hiba, lásd lent.").arg(MaxFindings);
    return QStringLiteral("%1 hiba, lásd lent.").arg(findings.size());
}
