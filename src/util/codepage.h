#pragma once

#include <QByteArray>
#include <QString>

// Text files of the system (ini, CSV, HTML) are single-byte Windows-1250. Characters the code page lacks
// become "?".
QByteArray ToWindows1250(const QString &text);
QString FromWindows1250(const QByteArray &bytes);
