// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The game clock's accuracy: a 1000 ms precise timer, as the quiz screen runs it,
// against the monotonic clock. Prints the total drift after N ticks and the
// latest single tick. Usage: bench_clock [ticks, default 240]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 240;
    constexpr qint64 kIntervalMs = 1000;

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(static_cast<int>(kIntervalMs));
    QElapsedTimer clock;
    int seen = 0;
    qint64 worstLateUs = 0;
    qint64 lastUs = 0;
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        ++seen;
        lastUs = clock.nsecsElapsed() / 1000;
        const qint64 dueUs = seen * kIntervalMs * 1000;
        worstLateUs = std::max(worstLateUs, lastUs - dueUs);
        if (seen == ticks) app.quit();
    });
    clock.start();
    timer.start();
    app.exec();

    const double driftMs = (lastUs - ticks * kIntervalMs * 1000) / 1000.0;
    std::printf("clock: %d ticks of %lld ms, total drift %+.3f ms, latest tick %+.3f ms\n", ticks,
                static_cast<long long>(kIntervalMs), driftMs, worstLateUs / 1000.0);
    return 0;
}
