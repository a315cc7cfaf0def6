#pragma once

#include "modaldialogs.h"
#include "pdftext.h"
#include "reportdocument.h"
#include "reportoutput.h"
#include "reportservices.h"
#include "testdatabase.h"

#include <QDialog>
#include <QLocale>
#include <QtTest>

// A database folder with one till, owner, user, client and unit, and a session on it. Printing never reaches
// a real printer: the output's printer is "none".
class ReportsFixture : public TestDatabase
{
public:
    static void initProcess() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    // Documents go through the scripted boxes and dialogs to a machine without a printer.
    Report::DocumentOutput output()
    {
        return Report::DocumentOutput(messages, fileDialogs, [] { return QPrinterInfo(); });
    }

    // The program's own report services on a machine without a printer.
    ReportServices services()
    {
        return ReportServices::Default(session, *engine, messages, fileDialogs, [] { return QPrinterInfo(); });
    }

    void openDatabase(const QString &connection)
    {
        fresh(connection);
        m_rows = 0;
        session.formatFt = QStringLiteral("### ### ##0");

        till =
            int(engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő kassza")},
                                                          {QStringLiteral("valuta"), QStringLiteral("HUF")}}));
        engine->update(QStringLiteral("tulajdonos"), QStringLiteral("rowid"), 1,
                       {{QStringLiteral("tulajdonos"), QStringLiteral("Gyöngyvirág Kereskedelmi Bt.")}});
        engine->insert(QStringLiteral("felhasznalo"),
                       {{QStringLiteral("felhasznalo"), QStringLiteral("anna")},
                        {QStringLiteral("felhasznalo_nev"), QStringLiteral("Kiss Anna")}});
        engine->insert(QStringLiteral("szervegyseg"), {{QStringLiteral("szervegyseg"), 3},
                                                       {QStringLiteral("szervegyseg_nev"), QStringLiteral("Raktár")}});
        client =
            int(engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Nagy Péter")},
                                                          {QStringLiteral("szigszam"), QStringLiteral("123456AB")},
                                                          {QStringLiteral("szervegyseg"), 3}}));
        engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Irodaszer")},
                                                     {QStringLiteral("szorzo"), -1},
                                                     {QStringLiteral("kibe"), QStringLiteral("K")}});
    }

    // A booked payment of one item; the values override the defaults.
    qint64 voucher(const QVariantMap &values = {})
    {
        // Booked vouchers never share their numbers: the first is KB00007, the next KB00008, ...
        const int n = ++m_rows;
        QVariantMap row{{QStringLiteral("dromvelid"), n},
                        {QStringLiteral("kibe"), QStringLiteral("K")},
                        {QStringLiteral("betujel"), QStringLiteral("KB")},
                        {QStringLiteral("ssz"), 6 + n},
                        {QStringLiteral("kassza"), till},
                        {QStringLiteral("dat_kiadva"), QDate(2026, 3, 14)},
                        {QStringLiteral("kiadva"), QStringLiteral("I")},
                        {QStringLiteral("kasszatip"), 1},
                        {QStringLiteral("ugyfel"), client},
                        {QStringLiteral("felhasznalo"), QStringLiteral("anna")},
                        {QStringLiteral("osszeg"), 12345.0},
                        {QStringLiteral("kiadas"), 12345.0},
                        {QStringLiteral("forgjogcim1"), QStringLiteral("Anyag")},
                        {QStringLiteral("bizszam1"), QStringLiteral("5211")},
                        {QStringLiteral("szoveg1"), QStringLiteral("Nyomtatópapír")},
                        {QStringLiteral("osszeg1"), 12345.0},
                        {QStringLiteral("elszamol_kell"), QStringLiteral("N")}};
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            row.insert(it.key(), it.value());
        return engine->insert(QStringLiteral("dromvel"), row);
    }

    int till = 0;
    int client = 0;

private:
    int m_rows = 0;
};

// The visible element of the page with this name (and copy, when given); null when there is none.
inline const Report::Element *FindElement(const Report::Page &page, const QString &name, int copy = -1)
{
    for (const Report::Element &e : page.elements)
        if (e.visible && e.name == name && (copy < 0 || e.copy == copy))
            return &e;
    return nullptr;
}

// The pages of a document, also of one laid out while it is painted.
inline Report::Document Collected(const Report::Document &doc)
{
    Report::Document collected = doc;
    collected.stream = nullptr;
    collected.pages.clear();
    doc.forEachPage([&collected](const Report::Page &page) {
        collected.pages.append(page);
        return true;
    });
    return collected;
}

// Empty when the element's box is where the layout table says (a negative width or height is not checked),
// otherwise what differs.
inline QString BoxMismatch(const Report::Element *e, double left, double top, double width = -1, double height = -1,
                           double tolerance = 0.01)
{
    if (!e)
        return QStringLiteral("no such element");
    const auto off = [tolerance](double a, double b) { return qAbs(a - b) > tolerance + 1e-9; };
    if (off(e->box.left(), left) || off(e->box.top(), top) || (width >= 0 && off(e->box.width(), width)) ||
        (height >= 0 && off(e->box.height(), height)))
        return QStringLiteral("%1 at %2, %3, %4 x %5")
            .arg(e->name)
            .arg(e->box.left())
            .arg(e->box.top())
            .arg(e->box.width())
            .arg(e->box.height());
    return QString();
}
