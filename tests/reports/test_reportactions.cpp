#include "reportprinting.h"
#include "reportsfixture.h"
#include "tfrm_nyomvalaszt.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

class TestReportActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init();
    void cleanup() { m_db.close(); }

    void outputChooserOffersThreeWays();
    void outputChooserAnswers_data();
    void outputChooserAnswers();
    void periodReportsAskThePeriodAndMaybeTheTill_data();
    void periodReportsAskThePeriodAndMaybeTheTill();
    void cancellingAnyChooserEndsWithoutOutput();
    void settlementReportsAskWhatTheyNeed();

private:
    // Services that record what was asked and answer from the script; the chosen output is the export, which counts
    // the rows it is handed and names their last field.
    ReportServices scripted()
    {
        ReportServices s = m_db.services();
        s.period = [this](const DateRange &preset, QWidget *) -> std::optional<DateRange> {
            asked << QStringLiteral("period");
            presets << preset;
            return periodAnswer;
        };
        s.chooseTill = [this](int till, QWidget *) {
            asked << QStringLiteral("till %1").arg(till);
            return tillAnswer;
        };
        s.outputChoice = [this](QWidget *) {
            asked << QStringLiteral("output");
            return outputAnswer;
        };
        s.exportRows = [this](ExportSource &rows, const QString &fileName, QWidget *) {
            int count = 0;
            rows.read([&count](const ExportRow &) { return ++count > 0; });
            exported << QStringLiteral("%1: %2 %3").arg(fileName).arg(count).arg(rows.columns().last().name);
        };
        return s;
    }

    ReportsFixture m_db;
    int otherTill = 0;
    QStringList asked;
    QList<DateRange> presets;
    QStringList exported;
    std::optional<DateRange> periodAnswer;
    int tillAnswer = -1;
    int outputAnswer = 2;
};

void TestReportActions::init()
{
    m_db.openDatabase(QStringLiteral("reportactions"));
    m_db.session.till = m_db.till;
    otherTill =
        int(m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("B")}}));
    const QDate today = QDate::currentDate();
    // Current till: a receipt and an advance of today; the other till: one receipt.
    m_db.voucher({{QStringLiteral("kibe"), QStringLiteral("B")}, {QStringLiteral("dat_kiadva"), today}});
    m_db.voucher({{QStringLiteral("dat_kiadva"), today},
                  {QStringLiteral("elszamol_kell"), QStringLiteral("I")},
                  {QStringLiteral("elszamolva"), QStringLiteral("N")}});
    m_db.voucher({{QStringLiteral("kibe"), QStringLiteral("B")},
                  {QStringLiteral("kassza"), otherTill},
                  {QStringLiteral("dat_kiadva"), today}});
    asked.clear();
    presets.clear();
    exported.clear();
    periodAnswer = DateRange{today.addDays(-7), today};
    tillAnswer = -1;
    outputAnswer = 2;
}

void TestReportActions::outputChooserOffersThreeWays()
{
    Tfrm_NyomValaszt dialog(m_db.session);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Nyomtatás típusa"));
    auto *preview = dialog.findChild<QRadioButton *>(QStringLiteral("rbNyomtatasiKep"));
    auto *print = dialog.findChild<QRadioButton *>(QStringLiteral("rbNyomtatas"));
    auto *csv = dialog.findChild<QRadioButton *>(QStringLiteral("rbExcel"));
    auto *picture = dialog.findChild<QLabel *>(QStringLiteral("imgTipus"));
    auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("cbNyomtato"));
    QCOMPARE(preview->text(), QStringLiteral("Nyomtatási kép"));
    QCOMPARE(print->text(), QStringLiteral("Nyomtatás"));
    QCOMPARE(csv->text(), QStringLiteral("Excelbe (CSV)"));
    QVERIFY(preview->isChecked());
    QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("gbNyomtato"))->title(), QStringLiteral("Nyomtató"));
    QVERIFY(!printers->isVisible());
    QVERIFY(!printers->isEnabled());

    // The picture follows the choice; the (hidden) printer list is enabled for printing only.
    QSet<qint64> pictures{picture->pixmap().cacheKey()};
    print->click();
    QCOMPARE(dialog.choice(), Tfrm_NyomValaszt::Print);
    QVERIFY(printers->isEnabled());
    pictures << picture->pixmap().cacheKey();
    csv->click();
    QCOMPARE(dialog.choice(), Tfrm_NyomValaszt::Export);
    QVERIFY(!printers->isEnabled());
    pictures << picture->pixmap().cacheKey();
    QCOMPARE(pictures.size(), 3);
    QVERIFY(!picture->pixmap().isNull());
}

void TestReportActions::outputChooserAnswers_data()
{
    QTest::addColumn<QString>("button"); // empty: OK on the first choice
    QTest::addColumn<int>("key");        // Enter or Escape after choosing
    QTest::addColumn<int>("result");
    QTest::newRow("enter is preview") << QString() << int(Qt::Key_Return) << 0;
    QTest::newRow("print") << QStringLiteral("rbNyomtatas") << int(Qt::Key_Return) << 1;
    QTest::newRow("export") << QStringLiteral("rbExcel") << int(Qt::Key_Return) << 2;
    QTest::newRow("escape") << QStringLiteral("rbNyomtatas") << int(Qt::Key_Escape) << -1;
}

void TestReportActions::outputChooserAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, result);
    OnNextModal([button, key](QDialog *dialog) {
        if (!button.isEmpty())
            dialog->findChild<QRadioButton *>(button)->click();
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->setFocus();
        QTest::keyClick(dialog, Qt::Key(key));
    });
    QCOMPARE(m_db.services().outputChoice(nullptr), result);
    QVERIFY(m_db.session.ini.readInt(QStringLiteral("Tfrm_NyomValaszt"), QStringLiteral("Left"), -1) >= 0);
}

void TestReportActions::periodReportsAskThePeriodAndMaybeTheTill_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("chooseTill");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QString>("expected");
    QTest::newRow("aNyomBevet") << 1 << false << QStringList{QStringLiteral("period"), QStringLiteral("output")}
                                << QStringLiteral("Pénztári befizetések időszakra.csv: 1 sorszam");
    QTest::newRow("aNyomKifizet") << 2 << false << QStringList{QStringLiteral("period"), QStringLiteral("output")}
                                  << QStringLiteral("Pénztári kifizetések időszakra.csv: 1 sorszam");
    QTest::newRow("aNyomKasszatortenet") << 3 << false
                                         << QStringList{QStringLiteral("period"), QStringLiteral("output")}
                                         << QStringLiteral("Kasszatörténet.csv: 2 egyenleg");
    // The chosen-till forms start the till chooser on the current till; here it picks the other one.
    QTest::newRow("aNyomBevet1") << 1 << true
                                 << QStringList{QStringLiteral("till *"), QStringLiteral("period"),
                                                QStringLiteral("output")}
                                 << QStringLiteral("Pénztári befizetések időszakra.csv: 1 sorszam");
    QTest::newRow("aNyomKifizet1") << 2 << true
                                   << QStringList{QStringLiteral("till *"), QStringLiteral("period"),
                                                  QStringLiteral("output")}
                                   << QStringLiteral("Pénztári kifizetések időszakra.csv: 0 sorszam");
    QTest::newRow("aNyomKasszatortenet1")
        << 3 << true << QStringList{QStringLiteral("till *"), QStringLiteral("period"), QStringLiteral("output")}
        << QStringLiteral("Kasszatörténet.csv: 1 egyenleg");
}

void TestReportActions::periodReportsAskThePeriodAndMaybeTheTill()
{
    QFETCH(int, kind);
    QFETCH(bool, chooseTill);
    QFETCH(QStringList, questions);
    QFETCH(QString, expected);
    tillAnswer = otherTill;
    questions.replaceInStrings(QStringLiteral("*"), QString::number(m_db.till));

    PrintPeriodReport(m_db.session, *m_db.engine, kind, chooseTill, scripted());
    QCOMPARE(asked, questions);
    QCOMPARE(presets, QList<DateRange>{DefaultPeriod(QDate::currentDate())});
    QCOMPARE(exported, QStringList{expected});
}

void TestReportActions::cancellingAnyChooserEndsWithoutOutput()
{
    PrintPeriodReport(m_db.session, *m_db.engine, 1, true, scripted());
    QCOMPARE(asked, QStringList{QStringLiteral("till %1").arg(m_db.till)});
    PrintWaitingAdvances(m_db.session, *m_db.engine, scripted());

    periodAnswer.reset();
    PrintPeriodReport(m_db.session, *m_db.engine, 3, false, scripted());
    PrintSettlements(m_db.session, *m_db.engine, scripted());
    outputAnswer = -1;
    tillAnswer = m_db.till;
    PrintWaitingAdvances(m_db.session, *m_db.engine, scripted());
    QCOMPARE(asked, QStringList({QStringLiteral("till %1").arg(m_db.till), QStringLiteral("till %1").arg(m_db.till),
                                 QStringLiteral("period"), QStringLiteral("period"),
                                 QStringLiteral("till %1").arg(m_db.till), QStringLiteral("output")}));
    QVERIFY(exported.isEmpty());
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestReportActions::settlementReportsAskWhatTheyNeed()
{
    tillAnswer = m_db.till;
    PrintWaitingAdvances(m_db.session, *m_db.engine, scripted());
    PrintSettlements(m_db.session, *m_db.engine, scripted());
    QCOMPARE(asked, QStringList({QStringLiteral("till %1").arg(m_db.till), QStringLiteral("output"),
                                 QStringLiteral("period"), QStringLiteral("output")}));
    QCOMPARE(exported, QStringList({QStringLiteral("Elszámolásra váró tételek.csv: 1 sorszam"),
                                    QStringLiteral("Készpénzigénylések elszámolása.csv: 1 sorszam")}));
}

QTEST_MAIN(TestReportActions)
#include "test_reportactions.moc"
