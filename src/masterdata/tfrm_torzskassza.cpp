#include "tfrm_torzskassza.h"

#include "choosers.h"
#include "engine.h"
#include "masterlists.h"
#include "session.h"
#include "tfrm_torzskassza_szerkeszt.h"
#include "tillsetup.h"
#include "util.h"

#include <QAction>

namespace {

QString UserOf(const Session &session)
{
    return session.user.isEmpty() ? QStringLiteral("rendszergazda") : session.user;
}

} // namespace

Tfrm_TorzsKassza::Tfrm_TorzsKassza(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : SqlListWindow(session, engine, messages, QStringLiteral("frm_TorzsKassza"), QStringLiteral("kassza"),
                    QStringLiteral("kassza"), parent)
{
    setWindowTitle(QStringLiteral("Kasszák"));
    deleteAction()->setToolTip(QStringLiteral("Sor törlése"));
    deleteAction()->setStatusTip(QStringLiteral("Sor törlése"));
    setQuery(TillListLines(), {{QStringLiteral("kassza_nev"), QStringLiteral("kassza"), 0.4, {}},
                               {QStringLiteral("valuta"), QStringLiteral("valuta"), 0.2, {}},
                               {QStringLiteral("betujel_be"), QStringLiteral("bev.betűjel"), 0.2, {}},
                               {QStringLiteral("betujel_ki"), QStringLiteral("kiad.betűjel"), 0.2, {}}});
    setSortField(QStringLiteral("kassza_nev"));
}

void Tfrm_TorzsKassza::open(int till)
{
    refresh(till);
}

void Tfrm_TorzsKassza::newRow()
{
    Tfrm_TorzsKassza_Szerkeszt editor(session(), messages(), true, this);
    qint64 created = 0;
    editor.setPost([this, &created](const QVariantMap &values) {
        created = CreateTill(engine(), values, UserOf(session()), QDate::currentDate());
    });
    if (editor.exec() == QDialog::Accepted)
        refresh(created);
}

void Tfrm_TorzsKassza::editRow()
{
    Tfrm_TorzsKassza_Szerkeszt editor(session(), messages(), false, this);
    editor.setValues(currentRecord());
    editCurrentRow(editor);
}

void Tfrm_TorzsKassza::writeRow(qint64 key, const QVariantMap &changed)
{
    UpdateTill(engine(), int(key), changed, UserOf(session()));
}

int KasszaValaszt(Session &session, Engine &engine, Messages &messages, int till, bool choose, QString *tillName,
                  QWidget *parent)
{
    Tfrm_TorzsKassza window(session, engine, messages, parent);
    window.setChooseMode(choose);
    window.open(till);
    if (window.exec() != QDialog::Accepted)
        return -1;
    if (tillName)
        *tillName = ValueOr(window.currentValue(QStringLiteral("kassza_nev")), QString());
    return static_cast<int>(window.currentKey());
}
