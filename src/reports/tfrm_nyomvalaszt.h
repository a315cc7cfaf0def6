#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
struct Session;

// "Nyomtatás típusa": how a report goes out: print preview, printer, or its rows into a delimited text file.
class Tfrm_NyomValaszt : public QDialog
{
    Q_OBJECT
public:
    enum Choice { Preview = 0, Print = 1, Export = 2, None = -1 };

    explicit Tfrm_NyomValaszt(Session &session, QWidget *parent = nullptr);

    Choice choice() const;
    void done(int result) override;

private:
    void showChoice();

    Session &m_session;
    QRadioButton *m_preview;
    QRadioButton *m_print;
    QRadioButton *m_export;
    QLabel *m_picture;
    QGroupBox *m_printers;
    QComboBox *m_printerList;
};

// The output chooser: 0 preview, 1 print, 2 delimited export, -1 when cancelled.
int NyomValaszt(Session &session, QWidget *parent = nullptr);
