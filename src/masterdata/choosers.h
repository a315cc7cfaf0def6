#pragma once

#include <QString>

class Engine;
class Messages;
class QWidget;
struct Session;

// The choosers through which other screens pick a till, a movement type or a client. Each opens its list window
// modally on the given id (on the first row in name order when no row has it). With choose off the window only
// maintains the table. After "Elfogad" each returns the current row's key (0 on an empty list); closed any other
// way it returns -1 and leaves its outputs alone.

// Tills ("Kasszák"). tillName receives the till's name after "Elfogad".
int KasszaValaszt(Session &session, Engine &engine, Messages &messages, int till, bool choose,
                  QString *tillName = nullptr, QWidget *parent = nullptr);

// Movement types, under the given caption.
int KasszaTipValaszt(Session &session, Engine &engine, Messages &messages, int kasszatip, bool choose,
                     const QString &caption, QWidget *parent = nullptr);

struct KasszaTipChoice
{
    int kasszatip = -1;
    QString kibe;       // "K" or "B"
    QString elszamolas; // "I" when vouchers of the type are advances
};
KasszaTipChoice KasszaTipValasztKibe(Session &session, Engine &engine, Messages &messages, int kasszatip, bool choose,
                                     const QString &caption, QWidget *parent = nullptr);

// Clients ("Ügyfél választása").
int UgyfelValaszt(Session &session, Engine &engine, Messages &messages, int ugyfel, bool choose,
                  QWidget *parent = nullptr);

struct UgyfelChoice
{
    int ugyfel = -1;
    int elszamol = 0; // days the client has to settle an advance
};
UgyfelChoice UgyfelValasztNap(Session &session, Engine &engine, Messages &messages, int ugyfel, bool choose,
                              QWidget *parent = nullptr);
