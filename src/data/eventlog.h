#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class Engine;

// One entry of the event log (naplo): who changed what, where and when. The time and the workstation are taken
// when it is written.
struct EventEntry
{
    QString event;  // esemeny: what happened, as the log window lists it ("Könyvelés", "Napzárás", ...)
    QString user;   // felhasznalo: the logged-in user's code; empty where nobody logs in
    int till = 0;   // kassza: the till concerned; 0 when none
    qint64 key = 0; // sorkulcs: the key of the row concerned (dromvel, zarbizonylat, kassza, ...); 0 when none
    QString text;   // szoveg: a short description, cut to the field's width
};

// Writes one entry with the current time and this computer's name. It must run inside the caller's open
// transaction (the program's own, or one a script of the SQL console opened), so that the entry and the change it
// records are stored together or not at all: without one it throws EngineError and writes nothing.
void LogEvent(Engine &engine, const EventEntry &entry);

// Writes one entry in a transaction of its own, for changes stored outside the database (the ini file's list of
// databases, an archive file) once they have been stored.
void LogEventAlone(Engine &engine, const EventEntry &entry);

// The log window's statement: the entries written on the days from..to (both included) in the order they were
// written, with the till's name, and, when search is not empty, only those whose event, user, workstation, till name
// or text holds it (letter case ignored). One ORDER line of its own.
QStringList EventListLines(const QDate &from, const QDate &to, const QString &search);
