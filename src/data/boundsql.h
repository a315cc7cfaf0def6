#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

class QSqlDriver;

// The statement with every named parameter (":pkassza") replaced by its value written as a literal of the driver
// (the driver's own quoting, as it writes the values of a prepared statement); a parameter without a value is
// NULL. Quoted texts and names, comments and "::" casts are left as they are; dollar-quoted and E'' strings are
// not looked into, so they must not hold a colon.
QString BoundSql(const QSqlDriver &driver, const QString &sql, const QHash<QString, QVariant> &values);
