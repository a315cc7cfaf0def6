#pragma once

#include "reportservices.h"

// The period and closing reports. Each reads its rows, asks how to output them (NyomValaszt) and previews,
// prints or exports them; a period or till without rows still gives the page frame, the headings and totals of 0.

// kind 1 receipts, 2 payments, 3 till history of the till in the period.
void OsszNyomtat(Session &session, Engine &engine, int kind, int till, const DateRange &period,
                 const ReportServices &services, QWidget *parent = nullptr);
// The booked advances of the till not yet settled.
void ElszamolNyomtat(Session &session, Engine &engine, int till, const ReportServices &services,
                     QWidget *parent = nullptr);
// The settlement of the till's cash requests issued in the period.
void ElszamolasNyomtat(Session &session, Engine &engine, int till, const DateRange &period,
                       const ReportServices &services, QWidget *parent = nullptr);
// The cash report of one closing record.
void NapZarNyomtat(Session &session, Engine &engine, int zarbizonylat, const ReportServices &services,
                   QWidget *parent = nullptr);

// The main window's report actions, the period chooser preset from the same day a month ago to today.
// aNyomBevet, aNyomKifizet, aNyomKasszatortenet: kind 1, 2, 3 on the current till; their "…1" forms (chooseTill)
// ask for the till first and leave the current till as it is.
void PrintPeriodReport(Session &session, Engine &engine, int kind, bool chooseTill, const ReportServices &services,
                       QWidget *parent = nullptr);
// aNyomElszamol: the till chooser, then the advances waiting for settlement.
void PrintWaitingAdvances(Session &session, Engine &engine, const ReportServices &services, QWidget *parent = nullptr);
// The main window's overdue count: the current till's advances whose deadline is before the open day.
void PrintOverdueAdvances(Session &session, Engine &engine, const ReportServices &services, QWidget *parent = nullptr);
// aNyomKpFizetes: the period chooser preset to the open day's month, then the cash payments per client and month.
void PrintMonthlyCashPayments(Session &session, Engine &engine, const ReportServices &services,
                              QWidget *parent = nullptr);
// aNyomElszamolas: the period chooser, then the settlement of the current till's cash requests.
void PrintSettlements(Session &session, Engine &engine, const ReportServices &services, QWidget *parent = nullptr);
