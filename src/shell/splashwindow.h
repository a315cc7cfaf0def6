#pragma once

#include <QWidget>

class QTimer;

// The borderless picture shown on top while the main window opens; after a second it fades out and goes.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // Opens a splash that destroys itself when it has faded.
    static SplashWindow *ShowOnce();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SplashWindow();
    void fadeStep();

    QTimer *m_fade = nullptr;
    int m_opacity = 255;
};
