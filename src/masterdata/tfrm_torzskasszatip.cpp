#include "tfrm_torzskasszatip.h"

#include "choosers.h"
#include "engine.h"
#include "masterlists.h"
#include "session.h"
#include "tfrm_torzskasszatip_szerkeszt.h"
#include "util.h"

#include <QAction>

Tfrm_TorzsKasszaTip::Tfrm_TorzsKasszaTip(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : SqlListWindow(session, engine, messages, QStringLiteral("frm_TorzsKasszaTip"), QStringLiteral("kasszatip"),
                    QStringLiteral("kasszatip"), parent)
{
    setWindowTitle(QStringLiteral("Kassza típusok"));
    deleteAction()->setText(QStringLiteral("Sor törlése"));
    setQuery(MovementTypeListLines(), {{QStringLiteral("kasszatip_nev"), QStringLiteral("kassza típus"), 0.67, {}},
                                       {QStringLiteral("nev"), QStringLiteral("kiadás/bevétel"), 0.33, {}}});
    setSortField(QStringLiteral("kasszatip_nev"));
}

void Tfrm_TorzsKasszaTip::open(int kasszatip)
{
    refresh(kasszatip);
}

void Tfrm_TorzsKasszaTip::newRow()
{
    Tfrm_TorzsKasszaTip_Szerkeszt editor(session(), messages(), this);
    editor.setValues({{QStringLiteral("szorzo"), -1},
                      {QStringLiteral("kibe"), QStringLiteral("K")},
                      {QStringLiteral("elszamolas"), QStringLiteral("N")}});
    qint64 created = 0;
    editor.setPost([this, &created](const QVariantMap &values) { created = engine().insert(table(), values); });
    if (editor.exec() == QDialog::Accepted)
        refresh(created);
}

void Tfrm_TorzsKasszaTip::editRow()
{
    Tfrm_TorzsKasszaTip_Szerkeszt editor(session(), messages(), this);
    editor.setValues(currentRecord());
    editCurrentRow(editor);
}

namespace {

// Opens the list; after "Elfogad" the current row's fields, otherwise a choice with the key -1.
KasszaTipChoice ChooseType(Session &session, Engine &engine, Messages &messages, int kasszatip, bool choose,
                           const QString &caption, QWidget *parent)
{
    Tfrm_TorzsKasszaTip window(session, engine, messages, parent);
    window.setWindowTitle(caption);
    window.setChooseMode(choose);
    window.open(kasszatip);
    KasszaTipChoice choice;
    if (window.exec() != QDialog::Accepted)
        return choice;
    choice.kasszatip = static_cast<int>(window.currentKey());
    choice.kibe = ValueOr(window.currentValue(QStringLiteral("kibe")), QString());
    choice.elszamolas = ValueOr(window.currentValue(QStringLiteral("elszamolas")), QString());
    return choice;
}

} // namespace

int KasszaTipValaszt(Session &session, Engine &engine, Messages &messages, int kasszatip, bool choose,
                     const QString &caption, QWidget *parent)
{
    return ChooseType(session, engine, messages, kasszatip, choose, caption, parent).kasszatip;
}

KasszaTipChoice KasszaTipValasztKibe(Session &session, Engine &engine, Messages &messages, int kasszatip, bool choose,
                                     const QString &caption, QWidget *parent)
{
    return ChooseType(session, engine, messages, kasszatip, choose, caption, parent);
}
