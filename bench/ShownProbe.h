// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The start-up probe shared by the game's probe and the minimal Qt program:
// once the first window has been painted, the time since the launcher's
// timestamp (CLOCK_MONOTONIC nanoseconds in WD_START_NS) goes to stdout with
// the CPU time the process has used so far (all its threads), and
// the program ends after WD_SETTLE_MS more milliseconds of its event loop, so
// that its peak memory includes what it does just after showing (a movie
// being decoded, a sound device being opened).
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace wd::bench {

inline long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

class ShownProbe final : public QObject {
public:
    ShownProbe() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done_ && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow()) {
                done_ = true;
                // Queued: the paint itself is finished when this runs.
                QTimer::singleShot(0, this, &ShownProbe::Report);
            }
        }
        return false;
    }

private:
    void Report()
    {
        const char* start = std::getenv("WD_START_NS");
        const long long elapsed = start ? MonotonicNs() - std::atoll(start) : -1;
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        std::printf("shown_ns %lld cpu_ns %lld\n", elapsed,
                    static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
        const char* settle = std::getenv("WD_SETTLE_MS");
        QTimer::singleShot(settle ? std::atoi(settle) : 0, qApp, [] { QCoreApplication::exit(0); });
    }

    bool done_ = false;
};

} // namespace wd::bench
