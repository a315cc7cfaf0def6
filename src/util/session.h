#pragma once

#include "ini.h"

#include <QDate>
#include <QString>

class Engine;
class FileDialogs;
class Messages;

// What the main window owns and every screen and service reads: the open database, the current till, the open
// day, the user and the settings. Passed by reference; screens never reach into the main window.
struct Session
{
    // Services. The engine is owned by the program's start-up code.
    Engine *engine = nullptr;
    Messages *messages = nullptr;
    FileDialogs *fileDialogs = nullptr;

    // The workstation's ini file, kept in memory and written by SaveIni().
    IniFile ini;
    QString iniPath;
    // Writes the ini file; false when it could not be written (the caller says so).
    bool SaveIni() const { return ini.save(iniPath); }

    QString databaseFolder;

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
