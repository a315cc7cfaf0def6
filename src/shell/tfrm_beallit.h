#pragma once

#include "settingsstore.h"

#include <QDialog>
#include <QMap>
#include <QVariant>

class Engine;
class FileDialogs;
class QButtonGroup;
class QCheckBox;
class NumberEdit;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct Session;

// "Beállítások": the workstation settings kept in memory, the beallit row and, on a second page, the owner
// row. The rows are read when the dialog is made and written only by post(); the memory values change on OK.
class Tfrm_Beallit : public QDialog
{
    Q_OBJECT
public:
    Tfrm_Beallit(Session &session, Engine &engine, FileDialogs &fileDialogs, QWidget *parent = nullptr);

    // Writes the beallit and tulajdonos rows as edited, in one transaction. Throws EngineError.
    void post();

    void done(int result) override;

private:
    void loadRows();
    void browse();
    QLineEdit *ownerEdit(const QString &field) const { return m_ownerEdits.value(field); }

    Session &m_session;
    Engine &m_engine;
    FileDialogs &m_fileDialogs;

    QTabWidget *m_tabs;
    QLineEdit *m_path;
    QPushButton *m_browse;
    QCheckBox *m_fullScreen;
    QCheckBox *m_vanBelep;
    QCheckBox *m_vissza;
    QCheckBox *m_autoNyomtat;
    QCheckBox *m_csakEgyet;
    QButtonGroup *m_metodus;
    QLineEdit *m_formatFt;
    NumberEdit *m_kpFizetesHavi;
    QMap<QString, QLineEdit *> m_ownerEdits; // by field name of tulajdonos

    // The rows as read; post() writes the edited values back into them.
    SettingsRow m_settings;
    OwnerRow m_owner;
};
