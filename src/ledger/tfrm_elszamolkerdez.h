#pragma once

#include "advancesettlement.h"

#include <QDialog>
#include <functional>

class Engine;
class Messages;
class QCheckBox;
class QRadioButton;
struct Session;

// The movement type chooser of a settlement: KasszaTipValaszt in choose mode under the caption; the chosen type,
// -1 when it was closed without a choice.
using MovementTypeChooser = std::function<int(const QString &caption, QWidget *parent)>;
MovementTypeChooser DefaultMovementTypeChooser(Session &session, Engine &engine, Messages &messages);

// "Elszámolás": asks how to even out the till when the amount spent differs from the advance, and generates the
// vouchers of the answer. A movement type chooser closed without a choice leaves the dialog open with nothing
// generated; "Mégsem" closes it with nothing generated.
class Tfrm_ElszamolKerdez : public QDialog
{
    Q_OBJECT

public:
    Tfrm_ElszamolKerdez(Session &session, Engine &engine, Messages &messages, MovementTypeChooser chooseType,
                        const SettlementTarget &target, double advance, double spent, QWidget *parent = nullptr);

    SettlementMethod method() const;
    void setMethod(SettlementMethod method);
    bool leavePending() const;
    // The vouchers the dialog stored; empty until it generated them.
    const QList<GeneratedVoucher> &generated() const { return m_generated; }

public slots:
    void ok();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    MovementTypeChooser m_chooseType;
    SettlementTarget m_target;
    double m_advance;
    double m_spent;
    bool m_placed = false;
    QList<GeneratedVoucher> m_generated;

    QRadioButton *m_methods[3] = {};
    QCheckBox *m_pending = nullptr;
};
