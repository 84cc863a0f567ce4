// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: a movie file through the reader, the decoders and a few
// seconds of timeline and mix.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/swf/Mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wd::swfplay;
    auto movie = Prepare(std::span<const std::uint8_t>(data, size));
    if (!movie) return 0;
    for (const auto play : {Player::Play::On, Player::Play::Off}) {
        Mixer mixer;
        auto player = std::make_shared<Player>(play);
        mixer.Attach(player);
        player->Install(player->Expect(), movie);
        std::int16_t out[2 * 2048];
        // Two seconds of the running timeline; the first frame alone needs less.
        const int blocks = play == Player::Play::On ? 2 * kOutputRate / 2048 + 1 : kOutputRate / 4 / 2048 + 1;
        for (int i = 0; i < blocks; ++i) mixer.Pull(out, 2048);
    }
    return 0;
}
