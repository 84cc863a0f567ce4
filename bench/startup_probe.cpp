// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's start-up as main.cpp runs it, for the start-up benchmark: the
// time to the start screen's first paint and, with the settle time, the
// peak memory. Started by bench_startup, which passes WD_START_NS.
// With WD_PHASES set it also tells on stderr how long each step took.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "ShownProbe.h"
#include <QFontMetrics>

#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/AppPaths.h"
#include "platform/Random.h"
#include "platform/SoundOutput.h"
#include "screens/Game.h"
#include "ui/AnimationPanel.h"
#include "ui/Look.h"
#include "ui/Translations.h"

namespace {

void Phase(const char* name)
{
    static long long last = std::getenv("WD_START_NS") ? std::atoll(std::getenv("WD_START_NS")) : 0;
    if (!std::getenv("WD_PHASES")) return;
    const long long now = wd::bench::MonotonicNs();
    std::fprintf(stderr, "phase %-28s %8.2f ms\n", name, (now - last) / 1e6);
    last = now;
}

} // namespace

int main(int argc, char* argv[])
{
    Phase("process start to main");
    QApplication app(argc, argv);
    Phase("QApplication");
    wd::bench::ShownProbe probe;
    wd::InstallQtTranslations();
    Phase("translations");
    if (std::getenv("WD_PHASES")) {
        // The costly pieces of the start screen's load, each on its own
        // before the game repeats them.
        wd::SoundOutput::Instance().Start();
        Phase("  sound output opened");
        {
            wd::Module1 session;
            wd::ClockSeededRandom random;
            wd::QuestionBank bank(session, random, wd::QuestionFilePath());
            bank.OpenDatabase();
            Phase("  question file opened");
            bank.FixQuestionCounts();
            Phase("  question counts read");
        }
        (void)wd::GameFont({});
        QFontMetrics(wd::GameFont({})).horizontalAdvance(QStringLiteral("问鼎五关"));
        Phase("  Chinese font loaded");
        {
            wd::AnimationPanel panel(wd::AnimationPanel::Play::On);
            panel.SetMovie(wd::MoviePath("bantou.swf"));
            Phase("  movie set");
            panel.WaitLoaded(5000);
            Phase("  movie decoded (off thread)");
        }
    }
    wd::Game game;
    Phase("Game (screens registered)");
    game.Start(wd::ScreenId::FrmStart);
    Phase("start screen loaded and shown");
    QTimer::singleShot(0, [] { Phase("first events"); });
    return app.exec();
}
