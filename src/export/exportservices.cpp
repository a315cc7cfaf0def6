#include "exportservices.h"

#include <QDesktopServices>
#include <QUrl>

void OpenWithDesktop(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
