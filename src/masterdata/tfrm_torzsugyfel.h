#pragma once

#include "recordeditor.h"

#include <QUrl>
#include <functional>

class Engine;
class NumberEdit;
class QComboBox;
class QLineEdit;
class QToolButton;

// Hands a link ("mailto:…") to the desktop; returns false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl &url)>;
// QDesktopServices::openUrl.
UrlOpener DesktopUrlOpener();

// Editor of one client ("Ügyfél adatok szerkesztése").
class Tfrm_TorzsUgyfel : public RecordEditor
{
    Q_OBJECT

public:
    Tfrm_TorzsUgyfel(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The client's fields; elszamolasra is only shown.
    void setValues(const QVariantMap &values);
    // Every edited field; elszamolasra is left out, bookings own it.
    QVariantMap values() const override;

    // The town of the postcode into an empty town field; a town already there stays.
    void fillTownFromPostcode();
    // "mailto:" and the address to the desktop; nothing without an address.
    void sendMail();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadUnits();

    Engine &m_engine;
    UrlOpener m_openUrl;
    QLineEdit *m_name;
    QLineEdit *m_idCard;
    NumberEdit *m_days;
    QLineEdit *m_phone;
    QLineEdit *m_fax;
    QLineEdit *m_mobile;
    QLineEdit *m_postcode;
    QLineEdit *m_town;
    QLineEdit *m_street;
    QLineEdit *m_mail;
    QToolButton *m_mailButton;
    QComboBox *m_unit;
    NumberEdit *m_limit;
    QLineEdit *m_due;
};
