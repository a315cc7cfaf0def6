#pragma once

#include <QRect>

class Engine;
class FileDialogs;
class IniFile;
class Messages;
class QWidget;
struct Session;

// Workstation settings (ini) and database settings (the beallit row) as the session holds them.

// Defaults, Screen and Export keys into the session: back-dating, one copy per page, full screen, font size,
// till and its name, HTML export folder. Read once a database has been chosen.
void ReadIniSettings(Session &session);
// The main window's remembered bounds (Screen/Left, Top, Width, Height; 0, 0, 777, 550 when missing).
QRect ReadMainWindowBounds(const IniFile &ini);

// Writes the keys in the order the file has always had them and saves the file. A failure to save is told
// through the messages; false then.
bool WriteIniSettings(Session &session, Messages &messages, const QRect &mainWindowBounds);

// The first beallit row into the session: login flag, money format, settlement method, automatic printing.
// Values of a missing row read as empty. Engine errors are thrown.
void ReadSettingsRow(Session &session, Engine &engine);

// The settings dialog with its whole flow: edit, post both rows on OK, read the settings row again either
// way. True when OK was pressed. The caller checks the administrator right.
bool BeallitasokMegnyit(Session &session, Engine &engine, FileDialogs &fileDialogs, QWidget *parent = nullptr);
