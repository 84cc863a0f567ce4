#include "ui/AnimationPanel.h"

namespace wd {

// Silent until the movie player lands: the panel only remembers its movie.
struct AnimationPanel::Impl {};

AnimationPanel::AnimationPanel(Play play, QObject* parent) : QObject(parent), play_(play) {}

AnimationPanel::~AnimationPanel() = default;

void AnimationPanel::SetMovie(const QString& path) { movie_ = path; }

} // namespace wd
