// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The animation panel a screen holds: a hidden movie player whose sound the
// player hears. The screens use one operation, SetMovie.
#include <memory>
#include <string>

#include <QObject>
#include <QString>

namespace wd {

class AnimationPanel : public QObject {
    Q_OBJECT
public:
    // Play off runs only the first frame of a movie (its sounds still start);
    // play on runs the whole timeline. Both loop back to the first frame.
    enum class Play { Off, On };

    explicit AnimationPanel(Play play, QObject* parent = nullptr);
    ~AnimationPanel() override;

    // A full path loads that movie in place of the current one; an empty path
    // stops and removes the current movie. Returns at once; a missing or broken
    // file leaves the panel silent and raises nothing.
    void SetMovie(const QString& path);
    // The path last given to SetMovie.
    const QString& Movie() const { return movie_; }
    Play PlayMode() const { return play_; }
    // Waits until the movie last given has been read and decoded (or found
    // missing or broken). For tests and benchmarks; the screens never wait.
    bool WaitLoaded(int timeoutMs) const;

private:
    struct Impl;
    Play play_;
    QString movie_;
    std::unique_ptr<Impl> impl_;
};

// A movie of the game's folder "swf" as SetMovie takes it: MoviePath("1.swf").
QString MoviePath(const std::string& name);

} // namespace wd
