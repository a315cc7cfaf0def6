#pragma once

#include <QWidget>

class QTimer;

// The borderless picture shown on top while the main window opens; after a second it fades out and goes.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // Opens a splash that destroys itself when it has faded, or with its owner when that closes first.
    static SplashWindow *ShowOnce(QWidget *owner);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit SplashWindow(QWidget *owner);
    void fadeStep();

    QTimer *m_fade = nullptr;
    int m_opacity = 255;
};
