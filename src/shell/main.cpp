#include "application.h"
#include "qtfiledialogs.h"
#include "qtmessages.h"
#include "startup.h"

int main(int argc, char **argv)
{
    DromvelApplication app(argc, argv);
    QtMessages messages;
    QtFileDialogs fileDialogs;
    app.setMessages(&messages);
    app.loadResources();
    return RunDromvelPro(app, messages, fileDialogs);
}
