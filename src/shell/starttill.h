#pragma once

#include "maindialogs.h"

class Engine;
class Messages;
struct Session;

// The till the main window opens on, chosen in the till list on the till the ini names. A database without a till
// has none to choose: the user is told to create one first and the list opens for that, again until a till that
// exists is chosen. Returns the till (its name in name), or -1 when the list was closed without a choice.
int ChooseStartTill(Session &session, Engine &engine, Messages &messages, const TillList &tills, QString *name);
