#include "starttill.h"
#include "testdatabase.h"
#include "tillsetup.h"

#include <QtTest>

class TestStartTill : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db.fresh(QStringLiteral("starttill"));
        m_opened.clear();
    }
    void cleanup() { m_db.close(); }

    void databaseWithTillsOpensTheChooser();
    void emptyDatabaseAsksForATillFirst();
    void emptyListChosenAsksAgainUntilClosed();

private:
    // The till list as the user works it: each call runs the next step and answers what it returns.
    TillList scripted(QList<std::function<int()>> steps)
    {
        return [this, steps](int current, bool choose, QString *name, QWidget *) mutable {
            m_opened.append({current, choose});
            *name = QStringLiteral("Főpénztár");
            return steps.takeFirst()();
        };
    }
    int createTill()
    {
        return int(CreateTill(*m_db.engine, {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}},
                              QStringLiteral("teszt"), QDate::currentDate()));
    }
    QStringList infos() const
    {
        QStringList texts;
        for (const auto &box : m_db.messages.shown)
            texts.append(box.kind + QLatin1Char(':') + box.text.section(QLatin1Char('\n'), 0, 0));
        return texts;
    }

    TestDatabase m_db;
    QList<QPair<int, bool>> m_opened;
    const QString m_first =
        QStringLiteral("info:Ebben az adatbázisban még nincs kassza, ezért először egy kasszát kell létrehozni.");
};

void TestStartTill::databaseWithTillsOpensTheChooser()
{
    const int till = createTill();
    m_db.session.till = till;
    QString name;
    QCOMPARE(ChooseStartTill(m_db.session, *m_db.engine, m_db.messages, scripted({[till] { return till; }}), &name),
             till);
    QCOMPARE(name, QStringLiteral("Főpénztár"));
    QVERIFY(m_db.messages.shown.isEmpty());
    QCOMPARE(m_opened, (QList<QPair<int, bool>>{{till, true}}));
}

void TestStartTill::emptyDatabaseAsksForATillFirst()
{
    QString name;
    const int chosen =
        ChooseStartTill(m_db.session, *m_db.engine, m_db.messages, scripted({[this] { return createTill(); }}), &name);
    QCOMPARE(chosen, 1);
    QCOMPARE(infos(), QStringList{m_first});
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(m_opened.first().second);
}

void TestStartTill::emptyListChosenAsksAgainUntilClosed()
{
    // "Elfogad" on the empty list answers 0, which is no till.
    QString name;
    QCOMPARE(ChooseStartTill(m_db.session, *m_db.engine, m_db.messages, scripted({[] { return 0; }, [] { return -1; }}),
                             &name),
             -1);
    QCOMPARE(infos(), (QStringList{m_first, m_first}));
    QCOMPARE(m_opened.size(), 2);
}

QTEST_MAIN(TestStartTill)
#include "test_starttill.moc"
