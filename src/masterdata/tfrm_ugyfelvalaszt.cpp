#include "tfrm_ugyfelvalaszt.h"

#include "choosers.h"
#include "engine.h"
#include "listquerymodel.h"
#include "masterlists.h"
#include "session.h"
#include "util.h"

#include <QAction>
#include <QLineEdit>
#include <QSqlRecord>

Tfrm_UgyfelValaszt::Tfrm_UgyfelValaszt(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : SqlListWindow(session, engine, messages, QStringLiteral("frm_UgyfelValaszt"), QStringLiteral("ugyfel"),
                    QStringLiteral("ugyfel"), parent),
      m_openUrl(DesktopUrlOpener())
{
    setWindowTitle(QStringLiteral("Ügyfél választása"));
    newAction()->setText(QStringLiteral("Új ügyfél"));
    editAction()->setToolTip(QStringLiteral("Ügyfél szerkesztése"));
    editAction()->setStatusTip(QStringLiteral("Ügyfél szerkesztése"));
    deleteAction()->setText(QStringLiteral("töröl"));
    deleteAction()->setIconText(QStringLiteral("Töröl"));
    deleteAction()->setToolTip(QStringLiteral("Ügyfél törlése"));
    deleteAction()->setStatusTip(QStringLiteral("Ügyfél törlése"));
    const QString money = session.formatFt.isEmpty() ? QStringLiteral("### ### ##0") : session.formatFt;
    setQuery(ClientListLines(), {{QStringLiteral("ugyfel_nev"), QStringLiteral("ügyfél"), 0.33, {}},
                                 {QStringLiteral("cim_irsz"), QStringLiteral("irsz"), 0.08, {}},
                                 {QStringLiteral("cim_varos"), QStringLiteral("város"), 0.15, {}},
                                 {QStringLiteral("cim_cim"), QStringLiteral("cím"), 0.2, {}},
                                 {QStringLiteral("elszamolasra"), QStringLiteral("elsz.kell"), 0.12, money},
                                 {QStringLiteral("elszamollimit"), QStringLiteral("elsz.limit"), 0.12, money}});
    resize(700, 440);
}

void Tfrm_UgyfelValaszt::open(int ugyfel)
{
    setSortField(QStringLiteral("ugyfel_nev"));
    refresh(ugyfel);
}

void Tfrm_UgyfelValaszt::newRow()
{
    Tfrm_TorzsUgyfel editor(session(), engine(), messages(), this);
    editor.setUrlOpener(m_openUrl);
    editor.setValues({{QStringLiteral("elszamolasra"), 0.0}, {QStringLiteral("elszamollimit"), 0.0}});
    qint64 created = 0;
    editor.setPost([this, &created](const QVariantMap &values) {
        QVariantMap row = values;
        row.insert(QStringLiteral("elszamolasra"), 0.0);
        created = engine().insert(table(), row);
    });
    if (editor.exec() == QDialog::Accepted)
        refresh(created);
}

void Tfrm_UgyfelValaszt::editRow()
{
    Tfrm_TorzsUgyfel editor(session(), engine(), messages(), this);
    editor.setUrlOpener(m_openUrl);
    editor.setValues(currentRecord());
    editCurrentRow(editor);
}

void Tfrm_UgyfelValaszt::headerClicked(int column)
{
    setSortField(listModel()->record().fieldName(column));
    searchBox()->setFocus(Qt::OtherFocusReason);
}

int UgyfelValaszt(Session &session, Engine &engine, Messages &messages, int ugyfel, bool choose, QWidget *parent)
{
    return UgyfelValasztNap(session, engine, messages, ugyfel, choose, parent).ugyfel;
}

UgyfelChoice UgyfelValasztNap(Session &session, Engine &engine, Messages &messages, int ugyfel, bool choose,
                              QWidget *parent)
{
    Tfrm_UgyfelValaszt window(session, engine, messages, parent);
    window.setChooseMode(choose);
    window.open(ugyfel);
    UgyfelChoice choice;
    if (window.exec() != QDialog::Accepted)
        return choice;
    choice.ugyfel = static_cast<int>(window.currentKey());
    choice.elszamol = ValueOr(window.currentValue(QStringLiteral("elszamol")), 0);
    return choice;
}
