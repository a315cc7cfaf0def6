#pragma once

class QCoreApplication;

// Hungarian for Qt's own dialogs and buttons (from the Qt translations the system has) and for the numbers and
// dates of the whole program. Both programs call it once at start.
void UseHungarianLocale(QCoreApplication &app);
