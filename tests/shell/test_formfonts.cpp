#include "aboutbox.h"
#include "dayclosing.h"
#include "formbehaviour.h"
#include "inputdialog.h"
#include "maindialogs.h"
#include "query.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "testdatabase.h"
#include "tfrm_adatbazisnyitbde.h"
#include "tfrm_adatbazisokbde.h"
#include "tfrm_adatbazisokbde_szerkeszt.h"
#include "tfrm_beallit.h"
#include "tfrm_biznyomtatas.h"
#include "tfrm_elszamol.h"
#include "tfrm_felhasznalo.h"
#include "tfrm_felhasznaloszerkeszt.h"
#include "tfrm_idoszak.h"
#include "tfrm_keres.h"
#include "tfrm_login.h"
#include "tfrm_main.h"
#include "tfrm_naplezar.h"
#include "tfrm_naplo.h"
#include "tfrm_nyomvalaszt.h"
#include "tfrm_penztarellenorzes.h"
#include "tfrm_szerkeszt.h"
#include "tfrm_torzskassza.h"
#include "tfrm_torzskassza_szerkeszt.h"
#include "tfrm_torzskasszatip.h"
#include "tfrm_torzskasszatip_szerkeszt.h"
#include "tfrm_torzsugyfel.h"
#include "tfrm_ugyfelvalaszt.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

// Every form at every font size the setting may hold shows its texts whole: no label, field or button is
// squeezed below the height its font needs, which is where accents on capitals (Ő, Ű, Á, É) are cut off.
class TestFormFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_db.close(); }
    void noTextIsClipped_data();
    void noTextIsClipped();

private:
    using Factory = std::function<QWidget *(TestFormFonts *)>;
    QMap<QString, Factory> m_forms;
    TestDatabase m_db;
    MainDialogs m_dialogs;
};

namespace {

// The texts that do not fit their widget, as "name: text (height/needed)".
QStringList Squeezed(QWidget *form)
{
    QStringList found;
    const auto note = [&found](QWidget *w, const QString &text, int needed) {
        if (w->height() < needed)
            found.append(
                QStringLiteral("%1 \"%2\" (%3 of %4)").arg(w->objectName(), text).arg(w->height()).arg(needed));
    };
    for (QWidget *w : form->findChildren<QWidget *>()) {
        // The edit inside a combo box or date field is that control's own part, sized by it.
        if (!w->isVisibleTo(form) || w->window() != form || qobject_cast<QComboBox *>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty() && !label->pixmap())
            note(w, label->text(),
                 label->wordWrap() ? label->heightForWidth(label->width())
                                   : WholeTextHeight(label->fontMetrics(), label->text()));
        else if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty())
            note(w, button->text(), button->minimumSizeHint().height());
        else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w))
            note(w, QString(), w->minimumSizeHint().height());
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            note(w, group->title(), group->minimumSizeHint().height());
    }
    return found;
}

} // namespace

void TestFormFonts::initTestCase()
{
    m_db.fresh(QStringLiteral("formfonts"));
    m_db.session.iniPath = QDir(m_db.folder).filePath(QStringLiteral("DromvelPro.ini"));
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_db.session.openDay = QDate::currentDate();
    m_db.session.user = QStringLiteral("rendszergazda");
    FillSampleData(*m_db.engine);
    FillSampleVouchers(*m_db.engine);
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    // The currency till is closed once, so the closings list has a row.
    CloseDay(*m_db.engine, 2, QDate::currentDate(), QStringLiteral("teszt"));
    const int advance = Query(*m_db.engine, QStringLiteral("SELECT MIN(dromvel) FROM dromvel WHERE kiadva = 'I' AND "
                                                           "elszamol_kell = 'I' AND elszamolva = 'N';"))
                            .firstValue()
                            .toInt();

    Session &s = m_db.session;
    Engine &e = *m_db.engine;
    Messages &m = m_db.messages;
    FileDialogs &f = m_db.fileDialogs;
    m_forms = {
        {QStringLiteral("main"),
         [&s, &e, &m](TestFormFonts *t) {
             auto *w = new Tfrm_Main(s, e, m, t->m_dialogs);
             w->resize(1000, 600);
             w->TillSwitch(1, QStringLiteral("Főpénztár"));
             w->BalanceDisplay();
             return w;
         }},
        {QStringLiteral("voucher"),
         [&s, &e, &m](TestFormFonts *) {
             VoucherChoosers c = VoucherChoosers::Default(s, e, m);
             c.type = [](QWidget *) { return KasszaTipChoice{1, QStringLiteral("K"), QStringLiteral("I")}; };
             c.newClient = [](QWidget *) { return UgyfelChoice{1, 8}; };
             auto *w = new Tfrm_Szerkeszt(s, e, m, c);
             w->openNew();
             return w;
         }},
        {QStringLiteral("printchoice"), [&s](TestFormFonts *) { return new Tfrm_BizNyomtatas(s, true); }},
        {QStringLiteral("outputchoice"), [&s](TestFormFonts *) { return new Tfrm_NyomValaszt(s); }},
        {QStringLiteral("period"),
         [&s](TestFormFonts *) { return new Tfrm_Idoszak(s, DefaultPeriod(QDate::currentDate())); }},
        {QStringLiteral("tills"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_TorzsKassza(s, e, m);
             w->open(1);
             return w;
         }},
        {QStringLiteral("tilleditor"),
         [&s, &m](TestFormFonts *) { return new Tfrm_TorzsKassza_Szerkeszt(s, m, true); }},
        {QStringLiteral("types"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_TorzsKasszaTip(s, e, m);
             w->open(1);
             return w;
         }},
        {QStringLiteral("typeeditor"), [&s, &m](TestFormFonts *) { return new Tfrm_TorzsKasszaTip_Szerkeszt(s, m); }},
        {QStringLiteral("clients"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_UgyfelValaszt(s, e, m);
             w->open(1);
             return w;
         }},
        {QStringLiteral("clienteditor"), [&s, &e, &m](TestFormFonts *) { return new Tfrm_TorzsUgyfel(s, e, m); }},
        {QStringLiteral("settings"), [&s, &e, &f](TestFormFonts *) { return new Tfrm_Beallit(s, e, f); }},
        {QStringLiteral("login"), [&s, &e, &m](TestFormFonts *) { return new Tfrm_Login(s, e, m); }},
        {QStringLiteral("users"), [&s, &e, &m](TestFormFonts *) { return new Tfrm_Felhasznalo(s, e, m); }},
        {QStringLiteral("usereditor"),
         [&s, &e, &m](TestFormFonts *) { return new Tfrm_FelhasznaloSzerkeszt(s, e, m, QVariant()); }},
        {QStringLiteral("databases"), [&s, &m, &f](TestFormFonts *) { return new Tfrm_AdatbazisokBDE(s, m, f); }},
        {QStringLiteral("databaseeditor"),
         [&s, &m, &f](TestFormFonts *) {
             return new Tfrm_AdatbazisokBDE_Szerkeszt(s, m, f, QStringLiteral("1. Éles adatbázis"),
                                                      QStringLiteral("/tmp/Data"));
         }},
        {QStringLiteral("about"), [&s](TestFormFonts *) { return new AboutBox(s.fontSize); }},
        {QStringLiteral("search"), [&s, &e, &m](TestFormFonts *) { return new Tfrm_Keres(s, e, m); }},
        {QStringLiteral("searchresult"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_Keres(s, e, m);
             w->textField()->setText(QStringLiteral("a"));
             w->search();
             return w;
         }},
        {QStringLiteral("settlement"),
         [&s, &e, &m, advance](TestFormFonts *t) {
             auto *w = new Tfrm_Elszamol(s, e, m, t->m_dialogs.settlementType);
             w->open(advance);
             return w;
         }},
        {QStringLiteral("difference"),
         [&s, &e, &m](TestFormFonts *t) {
             const SettlementTarget target{0, 1, s.user, MainWindowDay(s), false};
             return new Tfrm_ElszamolKerdez(s, e, m, t->m_dialogs.settlementType, target, 50000, 42000);
         }},
        {QStringLiteral("closings"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_NapLezar(s, e, m, ClosingServices());
             w->open();
             return w;
         }},
        {QStringLiteral("eventlog"),
         [&s, &e, &m](TestFormFonts *) {
             auto *w = new Tfrm_Naplo(s, e, m, ClosingServices(), DefaultPeriod(QDate::currentDate()));
             w->open();
             return w;
         }},
        {QStringLiteral("cashcount"),
         [&s](TestFormFonts *) {
             auto *w = new Tfrm_Penztarellenorzes(s, 1234567, QStringLiteral("HUF"));
             w->setPieces({61, 0, 1, 2, 0, 1, 0, 0, 1, 0, 1, 1});
             return w;
         }},
        {QStringLiteral("cashcountcurrency"),
         [&s](TestFormFonts *) {
             auto *w = new Tfrm_Penztarellenorzes(s, 1500.5, QStringLiteral("EUR"));
             w->setAmounts({1000, 500.25});
             return w;
         }},
    };
}

void TestFormFonts::noTextIsClipped_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("size");
    for (auto it = m_forms.cbegin(); it != m_forms.cend(); ++it)
        for (int size = 8; size <= 12; ++size)
            QTest::addRow("%s %d", qPrintable(it.key()), size) << it.key() << size;
}

void TestFormFonts::noTextIsClipped()
{
    QFETCH(QString, form);
    QFETCH(int, size);

    m_db.session.fontSize = size;
    std::unique_ptr<QWidget> w(m_forms.value(form)(this));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTest::qWait(20);
    if (const QString folder = qEnvironmentVariable("DROMVEL_SHOTS"); !folder.isEmpty())
        w->grab().save(QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(form).arg(size)));
    const QStringList squeezed = Squeezed(w.get());
    QVERIFY2(squeezed.isEmpty(), qPrintable(squeezed.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestFormFonts)
#include "test_formfonts.moc"
