#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <functional>

// The benchmarks' clock: runs the work `repeat` times, prints the name and the milliseconds of one run in a
// column, and returns them.
inline double Time(QTextStream &out, const QString &name, int repeat, const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeat; ++i)
        work();
    const double each = double(timer.nsecsElapsed()) / 1e6 / repeat;
    out << QStringLiteral("%1 %2 ms\n").arg(name, -52).arg(each, 10, 'f', 3);
    out.flush();
    return each;
}
