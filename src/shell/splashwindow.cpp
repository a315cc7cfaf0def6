#include "splashwindow.h"

#include "productpicture.h"
#include "util.h"
#include "workarea.h"

#include <QPainter>
#include <QTimer>

SplashWindow::SplashWindow(QWidget *owner)
    : QWidget(owner, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("frm_Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(400, 240);
    const QRect area = WorkArea();
    move(area.center() - rect().center());
    m_fade = new QTimer(this);
    m_fade->setInterval(21);
    connect(m_fade, &QTimer::timeout, this, &SplashWindow::fadeStep);
    QTimer::singleShot(1000, m_fade, qOverload<>(&QTimer::start));
}

SplashWindow *SplashWindow::ShowOnce(QWidget *owner)
{
    auto *splash = new SplashWindow(owner);
    splash->show();
    return splash;
}

void SplashWindow::fadeStep()
{
    m_opacity -= 10;
    if (m_opacity <= 33) {
        m_fade->stop();
        close();
        return;
    }
    setWindowOpacity(m_opacity / 255.0);
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, ProductPicture(size(), ProductProgram::CashBook, 12));
}
