// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/AnimationPanel.h"

#include <mutex>
#include <set>

#include <QCoreApplication>
#include <QFile>
#include <QThreadPool>

#include "platform/AppPaths.h"
#include "platform/Logging.h"
#include "platform/SoundOutput.h"
#include "platform/swf/Player.h"

namespace wd {

// The panel owns a player that the process-wide mixer plays. Loading (reading
// and decoding the file) runs on the thread pool; the player takes the result
// only if no later SetMovie has come in the meantime, and the loader holds the
// player weakly, so a panel may be destroyed while its movie still loads.
struct AnimationPanel::Impl {
    std::shared_ptr<swfplay::Player> player;
};

namespace {

// A movie over its budget plays what fits and says so, once a run for each file.
void NoteCuts(const QString& path, const swfplay::PreparedMovie* movie)
{
    if (!movie || movie->cuts == 0) return;
    static std::mutex mu;
    static std::set<QString> noted;
    {
        std::lock_guard lock(mu);
        if (!noted.insert(path).second) return;
    }
    qCWarning(lcSound, "%s is over its budget (%s): it plays what fits", qUtf8Printable(path),
              swfplay::DescribeCuts(movie->cuts).c_str());
}

} // namespace

AnimationPanel::AnimationPanel(Play play, QObject* parent)
    : QObject(parent), play_(play), impl_(std::make_unique<Impl>())
{
    impl_->player = std::make_shared<swfplay::Player>(play == Play::On ? swfplay::Player::Play::On
                                                                       : swfplay::Player::Play::Off);
    SoundOutput::Instance().Mixer().Attach(impl_->player);
}

AnimationPanel::~AnimationPanel()
{
    SoundOutput::Instance().Mixer().Detach(impl_->player.get());
    impl_->player->Clear();
}

void AnimationPanel::SetMovie(const QString& path)
{
    movie_ = path;
    if (path.isEmpty()) {
        impl_->player->Clear();
        return;
    }
    const std::uint64_t ticket = impl_->player->Expect();
    std::weak_ptr<swfplay::Player> weak = impl_->player;
    std::filesystem::path file(QFile::encodeName(path).toStdString());
    QThreadPool::globalInstance()->start([weak, ticket, file = std::move(file), path] {
        auto movie = swfplay::PrepareFile(file);
        NoteCuts(path, movie.get());
        if (const auto player = weak.lock()) player->Install(ticket, std::move(movie));
    });
    // Opening the device can take a while; let the caller go on first.
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { SoundOutput::Instance().Start(); }, Qt::QueuedConnection);
}

bool AnimationPanel::WaitLoaded(int timeoutMs) const
{
    return impl_->player->WaitReady(std::chrono::milliseconds(timeoutMs));
}

QString MoviePath(const std::string& name) { return QString::fromStdString(MovieFile(name.c_str()).string()); }

} // namespace wd
