#pragma once

#include "exportservices.h"

#include <QDialog>

class ExportPathEdit;
class ExportSource;
class QCheckBox;
class QProgressBar;
struct Session;

// "HTML export": the rows of a grid as an HTML page in the export folder, opened after saving or handed to the mail
// client as an attachment.
class Tfrm_Grid2Html : public QDialog
{
    Q_OBJECT
public:
    Tfrm_Grid2Html(ExportSource &source, const QString &title, Session &session, ExportServices services,
                   QWidget *parent = nullptr);

    QString path() const;
    // Writes the page to the path box's file; false (after saying why) when it could not be written.
    bool savePage();
    // "OK": the page is written, the export folder becomes its folder, the window closes.
    void accept() override;
    // "E-Mail": the page is written and handed to the mail client; the window stays open.
    void sendPage();

    void done(int result) override;

private:
    ExportSource &m_source;
    QString m_title;
    Session &m_session;
    ExportServices m_services;
    ExportPathEdit *m_path;
    QCheckBox *m_openAfter;
    QProgressBar *m_progress;
};

// The proposed page: the export folder (the data folder when it is not set), then the safe file name of the title
// with ".htm".
QString DefaultHtmlPath(const QString &exportFolder, const QString &title);

// Shows the HTML export dialog modally for the rows of the source, with the given page title.
void Grid2Html(ExportSource &source, const QString &title, Session &session, ExportServices services,
               QWidget *parent = nullptr);
