#pragma once

#include "sqllistwindow.h"
#include "tfrm_torzsugyfel.h"

// The client list ("Ügyfél választása"): maintains the clients and, in choose mode, picks one. A click on a
// column title orders the list by that column where the table has an index on it.
class Tfrm_UgyfelValaszt : public SqlListWindow
{
    Q_OBJECT

public:
    Tfrm_UgyfelValaszt(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

    void open(int ugyfel);
    // Handed to the editor's mail button.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

protected:
    // Starts with nothing due and a limit of 0.
    void newRow() override;
    void editRow() override;
    void headerClicked(int column) override;

private:
    UrlOpener m_openUrl;
};
