#pragma once

#include "sqllistwindow.h"

// The movement type list: maintains the types and, in choose mode, picks one. The caller sets the caption.
class Tfrm_TorzsKasszaTip : public SqlListWindow
{
    Q_OBJECT

public:
    Tfrm_TorzsKasszaTip(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

    void open(int kasszatip);

protected:
    // A payment type, not for settlement, until the editor says otherwise.
    void newRow() override;
    void editRow() override;
};
