#pragma once

#include "keyboard.h"
#include "modaldialogs.h"
#include "query.h"
#include "testdatabase.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QtTest>

// A fresh database folder and a session on it for every test function.
class MasterDataFixture : public TestDatabase
{
public:
    void openDatabase(const QString &connection)
    {
        fresh(connection);
        session.user = QStringLiteral("teszt");
        session.formatFt = QStringLiteral("### ### ##0");
    }

    QVariant scalar(const QString &sql)
    {
        Query q(*engine, sql);
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }
    int count(const QString &table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM %1;").arg(table)).toInt(); }
};
