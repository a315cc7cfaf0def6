#include "application.h"

#include "hungarianlocale.h"
#include "messages.h"
#include "productpicture.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>

DromvelApplication::DromvelApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("DromvelPro"));
    // No display name: Qt would append it to every window caption, and each caption is the program's own.
    setOrganizationName(QStringLiteral("DromvelPro"));
    setWindowIcon(ProgramIcon(ProductProgram::CashBook));
}

void DromvelApplication::loadResources()
{
    UseHungarianLocale(*this);
    const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFileInfo::exists(tahoma))
        QFontDatabase::addApplicationFont(tahoma);
    // Hints show on a light apricot background.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(255, 218, 181));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("breeze"));
}

bool DromvelApplication::wheelToArrowKey(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto *widget = qobject_cast<QWidget *>(receiver);
    QAbstractItemView *view = nullptr;
    for (QWidget *w = widget; w && !view; w = w->parentWidget())
        view = qobject_cast<QAbstractItemView *>(w);
    if (!view)
        return false;
    const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
    QKeyEvent key(QEvent::KeyPress, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
    QApplication::notify(view, &key);
    return true;
}

bool DromvelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        if (wheelToArrowKey(receiver, event))
            return true;
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        // An EngineError's or ArchiveError's what() is its Hungarian message.
        if (m_messages)
            m_messages->ShowApplicationError(QString::fromUtf8(e.what()));
    }
    return false;
}
