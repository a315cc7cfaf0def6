#include "qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace {

QWidget *Owner(QWidget *owner)
{
    return owner ? owner : QApplication::activeWindow();
}

} // namespace

QString QtFileDialogs::SaveFileName(const QString &caption, const QString &proposedPath, const QString &filter,
                                    const QString &defaultSuffix, QWidget *owner)
{
    QFileDialog dialog(Owner(owner), caption, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtFileDialogs::OpenFileName(const QString &caption, const QString &folder, const QString &filter,
                                    QWidget *owner)
{
    return QFileDialog::getOpenFileName(Owner(owner), caption, folder, filter);
}

QString QtFileDialogs::ExistingFolder(const QString &caption, const QString &startFolder, QWidget *owner)
{
    return QFileDialog::getExistingDirectory(Owner(owner), caption, startFolder);
}
