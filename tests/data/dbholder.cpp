// Another workstation's program for the exclusive-use test: opens the database of the folder it is given, says
// "open" on its output and keeps the database open until its input ends.

#include "engine.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2)
        return 1;
    try {
        Engine engine(QStringLiteral("holder"));
        engine.open(app.arguments().at(1));
        engine.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;"));
        std::printf("open\n");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    return 0;
}
