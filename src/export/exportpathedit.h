#pragma once

#include <QWidget>

class FileDialogs;
class QDialog;
class QLineEdit;
class QProgressBar;
struct Session;

// The path box of an export dialog with its browse button: the save-file dialog starts at the box's text and the
// chosen name replaces it.
class ExportPathEdit : public QWidget
{
    Q_OBJECT
public:
    // editName: the box's objectName; filter in Qt form; suffix without the dot.
    ExportPathEdit(const QString &editName, const QString &filter, const QString &suffix, FileDialogs &fileDialogs,
                   QWidget *parent);

    QLineEdit *edit() const { return m_edit; }
    QString text() const;
    void setText(const QString &path);
    // Asks for a file as the browse button does; false when the user cancelled.
    bool browse();

private:
    FileDialogs &m_fileDialogs;
    QString m_filter;
    QString m_suffix;
    QLineEdit *m_edit;
};

// The habits the export dialogs share, applied once their controls are in place: the font size (with the path box
// wide enough for a usual path in it), the focused field painted, Enter moving on, the remembered position, and the
// focus in the path box.
void FinishExportForm(QDialog *form, Session &session, ExportPathEdit *path, int pathCharacters);

// The progress bar along the bottom of an export dialog, standing at 0.
QProgressBar *ExportProgressBar(QWidget *form);
