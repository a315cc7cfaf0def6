#pragma once

#include "exportservices.h"
#include "exportsource.h"

#include <QDialog>

class ExportPathEdit;
class QIODevice;
class QButtonGroup;
class QCheckBox;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct Session;

// "Határolt szöveg export": the rows of a result set into a delimited text file, or into a spreadsheet when the
// file name ends in ".xls" or ".xlsx". The user picks the fields, the separator, the quote and the options; the
// dialog stays open for further files until "Bezár".
class Tfrm_Hatarolt : public QDialog
{
    Q_OBJECT
public:
    // An empty proposed name starts with File001.csv in the documents folder, as does a name without a folder.
    Tfrm_Hatarolt(ExportSource &source, const QString &proposedName, Session &session, ExportServices services,
                  QWidget *parent = nullptr);

    QString path() const;
    bool running() const { return m_running; }

    // "Export indítás".
    void startExport();
    // "Megállít": no further row is taken; what is written stays.
    void stop() { m_stop = true; }

    void reject() override;
    void done(int result) override;

private:
    void setAllChecked(bool checked);
    QList<bool> exportedFields() const;
    void exportDelimited(const QString &path);
    void exportSpreadsheet(const QString &path);
    // Writes the file through `write` into a save file, so a failed export leaves an existing file as it was.
    // Returns false (after saying why) when it failed.
    bool writeFile(const QString &path, const std::function<void(QIODevice &, const ExportControl &)> &write,
                   const QString &errorPrefix);
    void setRunning(bool running);

    ExportSource &m_source;
    Session &m_session;
    ExportServices m_services;

    ExportPathEdit *m_path;
    QListWidget *m_fields;
    QButtonGroup *m_separator;
    QButtonGroup *m_quote;
    QCheckBox *m_memoLines;
    QCheckBox *m_fieldNames;
    QCheckBox *m_noHeader;
    QCheckBox *m_openAfter;
    QPushButton *m_start;
    QPushButton *m_stopButton;
    QPushButton *m_close;
    QProgressBar *m_progress;

    bool m_running = false;
    bool m_stop = false;
    bool m_closeWhenDone = false;
};

// Shows the export dialog modally for the rows of the source.
void HataroltExport(ExportSource &source, const QString &proposedName, Session &session, ExportServices services,
                    QWidget *parent = nullptr);

// The name a spreadsheet is written under: ".xls" (any case) becomes ".xlsx"; empty when the name is not a
// spreadsheet's.
QString SpreadsheetFileName(const QString &path);
