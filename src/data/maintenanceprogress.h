#pragma once

#include <QString>
#include <functional>

// How a long maintenance operation reports to whoever runs it: the status line, a progress bar that steps
// from 1 to its maximum, and the failures the user must see while the work goes on. Every part is optional.
struct MaintenanceProgress
{
    std::function<void(const QString &text)> status;
    std::function<void(int maximum)> start;
    std::function<void()> step;
    std::function<void(const QString &text)> error;

    void setStatus(const QString &text) const
    {
        if (status)
            status(text);
    }
    void begin(int maximum) const
    {
        if (start)
            start(maximum);
    }
    void advance() const
    {
        if (step)
            step();
    }
    void fail(const QString &text) const
    {
        if (error)
            error(text);
    }
};
