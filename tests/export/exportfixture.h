#pragma once

#include "engine.h"
#include "exportsource.h"
#include "sqlexportsource.h"
#include "testdatabase.h"

#include <QBuffer>
#include <QDate>
#include <QLocale>
#include <QtTest>

// A database whose ledger holds the rows a test writes, read back through the export's own SELECT.
class ExportFixture : public TestDatabase
{
public:
    static void initProcess() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    static QString Sql()
    {
        return QStringLiteral("SELECT szoveg, osszeg, ssz, dat_kiadva FROM dromvel ORDER BY dromvel;");
    }

    // One ledger row; an invalid QVariant leaves the field empty.
    void addRow(const QVariant &szoveg, const QVariant &osszeg = {}, const QVariant &ssz = {},
                const QVariant &datum = {})
    {
        engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("szoveg"), szoveg},
                                                   {QStringLiteral("osszeg"), osszeg},
                                                   {QStringLiteral("ssz"), ssz},
                                                   {QStringLiteral("dat_kiadva"), datum},
                                                   {QStringLiteral("kassza"), 1}});
    }

    SqlExportSource source()
    {
        SqlExportSource s(*engine, Sql());
        s.setLabel(QStringLiteral("szoveg"), QStringLiteral("Szöveg"))
            .setLabel(QStringLiteral("osszeg"), QStringLiteral("Összeg"))
            .setLabel(QStringLiteral("ssz"), QStringLiteral("Sorszám"))
            .setLabel(QStringLiteral("dat_kiadva"), QStringLiteral("Kiadva"))
            .setNumberFormat(QStringLiteral("### ### ##0"));
        return s;
    }
};

// Stops the export once `after` rows are written, as a click on "Megállít" does.
struct StopAfter
{
    explicit StopAfter(qint64 after)
    {
        control.stop = &stop;
        control.progress = [this, after](qint64 written) { stop = written >= after; };
    }
    bool stop = false;
    ExportControl control;
};
