#pragma once

#include "ini.h"

#include <QDate>
#include <QString>

// What the main window owns and every screen and service reads: the database folder, the current till, the
// open day, the user and the settings. State only: the services (engine, message boxes, file dialogs) are handed
// to each screen and service on their own. Passed by reference; screens never reach into the main window.
struct Session
{
    // The workstation's ini file, kept in memory and written by SaveIni().
    IniFile ini;
    QString iniPath;
    // Writes the ini file; false when it could not be written (the caller says so).
    bool SaveIni() const { return ini.save(iniPath); }

    QString databaseFolder;
    // Where "Bizt.mentés" of the database list proposes the archive; empty until its first use in the run.
    QString archiveFolder;

    // Current till and the day the program works on.
    int till = 1;
    QString tillName;
    QDate openDay;     // the calendar date at start-up
    QDate closedUntil; // the till's last closed day; invalid when never closed

    // Logged-in user and rights.
    QString user;
    QString userName;
    bool admin = true;      // rendszergazda
    bool masterEdit = true; // torzsszerkeszt

    // Workstation settings (ini).
    bool vissza = false; // back-dating allowed
    bool fullScreen = false;
    bool csakEgyetNyomtat = false; // one voucher copy per page
    int fontSize = 9;
    QString htmlFolder;

    // Database settings (beallit row).
    bool vanBelep = false;
    bool autoNyomtat = false;
    int metodus = 0;
    QString formatFt;
};
