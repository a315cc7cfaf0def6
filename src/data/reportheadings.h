#pragma once

#include <QDate>
#include <QString>
#include <optional>

class Engine;

// The owner as the page headers of the reports print it: the first tulajdonos row in tulajdonos order.
struct OwnerHeading
{
    QString tulajdonos;
    QString telefon;
    // irsz + " " + varos + ", " + cim, each empty when NULL; empty when all three are.
    QString irszvaros;
};

// A till as the report headers name it.
struct TillHeading
{
    QString kasszaNev;
    QString valuta;
};

// A closing record with its till, as the cash report's header and summary print it.
struct ClosingHeading
{
    int zarbizonylat = 0;
    QString kasszaNev;
    QString valuta;
    QDate datTol;
    QDate datIg;
    double nyito = 0; // NULL reads as 0
    double zaro = 0;
    std::optional<double> zaroMax; // the till's cash limit when it closed
};

// Empty texts when there is no owner row or no such till. Engine errors are thrown.
OwnerHeading ReadOwnerHeading(Engine &engine);
TillHeading ReadTillHeading(Engine &engine, int till);
// Only the number set when there is no such closing record.
ClosingHeading ReadClosingHeading(Engine &engine, int zarbizonylat);
