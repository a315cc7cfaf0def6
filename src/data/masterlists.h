#pragma once

#include <QStringList>

// The SQL texts of the master-data list windows, one line per entry so that the ORDER line can be replaced.
QStringList TillListLines();
QStringList MovementTypeListLines();
QStringList ClientListLines();
