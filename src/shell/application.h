#pragma once

#include <QApplication>

class Messages;

// The program's application object. An error that no action handled ends up here and is shown in the
// default error box, so no exception crosses the event loop; the mouse wheel over a grid or list moves it by
// one row per notch, as the arrow keys do.
class DromvelApplication : public QApplication
{
    Q_OBJECT

public:
    DromvelApplication(int &argc, char **argv);

    void setMessages(Messages *messages) { m_messages = messages; }
    bool notify(QObject *receiver, QEvent *event) override;

    // Hungarian translations of Qt's own dialogs and buttons; the Tahoma face of the layouts when present.
    void loadResources();

private:
    bool wheelToArrowKey(QObject *receiver, QEvent *event);

    Messages *m_messages = nullptr;
};
