// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The player reads and decodes what the movie maker writes, in every coding and
// container the maker knows. The maker's own tests pin its bytes by hand where
// both sides could misread the format alike.
#include <gtest/gtest.h>

#include <cmath>

#include "Movies.h"
#include "Mp3Encoder.h"
#include "TestMovies.h"

namespace wd::testing {
namespace {

using moviemaker::Coding;
using swf::Container;

double RmsError(std::span<const std::int16_t> a, std::span<const std::int16_t> b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / static_cast<double>(a.size()));
}

// A quarter second of silence, then a tone: 22050 frames at 22.05 kHz.
moviemaker::Pcm Signal(int channels)
{
    moviemaker::Pcm pcm{{}, channels, 22050};
    const auto left = Sine(440, 22050, 22050, 9000), right = Sine(660, 22050, 22050, 6000);
    for (std::size_t i = 0; i < 22050; ++i)
        for (int c = 0; c < channels; ++c) pcm.samples.push_back(i < 5512 ? 0 : (c ? right : left)[i]);
    return pcm;
}

TEST(Decoders, EveryCodingOfTheMovieMakerComesBackAsEventAndAsStreamSound)
{
    const struct {
        moviemaker::SoundPlan plan;
        int channels;
        Container container;
        double bound; // RMS error relative to the signal's
    } rows[] = {
        {{Coding::Pcm16, 0, false, 0}, 2, Container::Plain, 0},  {{Coding::Pcm16, 0, true, 0}, 1, Container::Lzma, 0},
        {{Coding::Pcm8, 0, false, 0}, 1, Container::Zlib, 0.04}, {{Coding::Adpcm, 2, false, 0}, 1, Container::Plain, 0.5},
        {{Coding::Adpcm, 3, false, 0}, 2, Container::Zlib, 0.2},  {{Coding::Adpcm, 4, false, 0}, 1, Container::Lzma, 0.08},
        {{Coding::Adpcm, 5, false, 0}, 2, Container::Plain, 0.04}, {{Coding::Mp3, 0, false, 64}, 1, Container::Zlib, 0.3},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << int(r.plan.coding) << "/" << r.plan.adpcmBits << ", " << r.channels << " channels");
        const auto signal = Signal(r.channels);
        const double bound = r.bound * RmsError(signal.samples, std::vector<std::int16_t>(signal.samples.size()));
        auto file = moviemaker::EventSoundMovie(signal, r.plan, 15, 15, 0, r.container);
        if (r.container == Container::Lzma) file[13] = file[14] = file[15] = file[16] = 0xff; // a 4 GiB dictionary
        const auto event = swfplay::Prepare(file);
        ASSERT_TRUE(event && event->sounds.count(1));
        const swfplay::Pcm& pcm = event->sounds.at(1);
        EXPECT_EQ(pcm.rate, 22050);
        ASSERT_EQ(pcm.channels, r.channels);
        ASSERT_EQ(pcm.samples.size(), signal.samples.size());
        EXPECT_LE(RmsError(pcm.samples, signal.samples), bound);

        const auto stream = swfplay::Prepare(moviemaker::StreamSoundMovie(signal, r.plan, 12.5, r.container));
        ASSERT_TRUE(stream && stream->stream);
        const swfplay::Pcm& s = stream->stream->pcm;
        EXPECT_EQ(stream->frameRate, 12.5);
        EXPECT_EQ(stream->movie.main.frames.size(), 13u); // 1764 samples a frame
        EXPECT_EQ(s.rate, 22050);
        const std::size_t skip = r.plan.coding == Coding::Mp3 ? moviemaker::kLameDecodedDelay : 0; // the encoder's delay
        EXPECT_TRUE(skip || stream->stream->blockStart[1] == 1764u);
        ASSERT_GE(s.samples.size(), skip + signal.samples.size());
        EXPECT_LE(RmsError(std::span(s.samples).subspan(skip, signal.samples.size()), signal.samples), bound);
    }
}

} // namespace
} // namespace wd::testing
