#pragma once

#include "sqllistwindow.h"

// The till list ("Kasszák"): maintains the tills and, in choose mode, picks one.
class Tfrm_TorzsKassza : public SqlListWindow
{
    Q_OBJECT

public:
    Tfrm_TorzsKassza(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

    // Reads the tills and stands on that till (the first one by name when there is none such).
    void open(int till);

protected:
    // A new till with its opening ledger row.
    void newRow() override;
    // Name, currency and letter codes; never the opening amount.
    void editRow() override;
    // The till's changes with their event log entry.
    void writeRow(qint64 key, const QVariantMap &changed) override;
};
