// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

namespace wd::synth {

double Oscillator(Wave wave, double phase, double duty, std::uint32_t& noiseState)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Sine: return std::sin(2 * std::numbers::pi * p);
    case Wave::Square: return p < duty ? 1.0 : -1.0;
    case Wave::Triangle: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Saw: return 2 * p - 1;
    case Wave::Noise:
        noiseState = noiseState * 1664525u + 1013904223u;
        return (noiseState >> 8) / double(1u << 23) - 1.0;
    }
    return 0;
}

double Adsr::Level(double t, double held) const
{
    auto sustained = [&](double at) {
        if (at < 0) return 0.0;
        if (at < attack) return at / attack;
        if (at < attack + decay) return 1.0 - (1.0 - sustain) * (at - attack) / decay;
        return sustain;
    };
    if (t < held) return sustained(t);
    if (release <= 0 || t >= held + release) return 0.0;
    return sustained(held) * (1.0 - (t - held) / release);
}

int MidiFromName(std::string_view name)
{
    if (name == "r" || name == "-") return -1;
    if (name.empty()) return -2;
    if (std::isdigit(static_cast<unsigned char>(name[0]))) {
        int n = 0;
        for (char c : name) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return -2;
            n = n * 10 + (c - '0');
            if (n > 127) return -2;
        }
        return n;
    }
    static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G') return -2;
    int semitone = kSemitone[letter - 'A'];
    std::size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i) semitone += name[i] == '#' ? 1 : -1;
    if (i >= name.size()) return -2;
    bool negative = false;
    if (name[i] == '-') {
        negative = true;
        ++i;
    }
    if (i + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[i]))) return -2;
    const int octave = (name[i] - '0') * (negative ? -1 : 1);
    const int midi = (octave + 1) * 12 + semitone;
    return midi >= 0 && midi <= 127 ? midi : -2;
}

double MidiToHz(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

std::vector<Note> Sequence(std::string_view text, double startBeat, double velocity)
{
    std::vector<Note> notes;
    double beat = startBeat;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        const std::string_view word = text.substr(pos, end - pos);
        pos = end + 1;
        if (word.empty()) continue;
        const std::size_t slash = word.find('/');
        double length = 1;
        if (slash != std::string_view::npos) {
            try {
                length = std::stod(std::string(word.substr(slash + 1)));
            } catch (...) {
                continue;
            }
            if (!(length > 0)) continue;
        }
        const std::string_view pitches = word.substr(0, slash);
        std::vector<int> chord;
        bool readable = true;
        for (std::size_t p = 0; p <= pitches.size();) {
            const std::size_t plus = std::min(pitches.find('+', p), pitches.size());
            const int midi = MidiFromName(pitches.substr(p, plus - p));
            if (midi == -2) readable = false;
            if (midi >= 0) chord.push_back(midi);
            p = plus + 1;
        }
        if (!readable) continue;
        for (int midi : chord) notes.push_back({beat, length, midi, velocity});
        beat += length;
    }
    return notes;
}

std::vector<Note> Transpose(std::vector<Note> notes, int semitones)
{
    for (auto& n : notes) n.midi = std::clamp(n.midi + semitones, 0, 127);
    return notes;
}

std::vector<Note> Repeat(const std::vector<Note>& notes, int times, double everyBeats)
{
    std::vector<Note> out;
    for (int t = 0; t < times; ++t)
        for (Note n : notes) {
            n.beat += t * everyBeats;
            out.push_back(n);
        }
    return out;
}

LoopBuffer::LoopBuffer(int sampleRate, std::size_t frames)
    : rate_(sampleRate), frames_(frames), left_(frames), right_(frames)
{
}

void LoopBuffer::AddTone(const Voice& v, double start, double held, double hz, double velocity, double pan)
{
    if (frames_ == 0) return;
    const double length = held + std::max(0.0, v.env.release);
    const auto count = static_cast<std::size_t>(std::min(length * rate_, double(frames_)));
    const auto first = static_cast<long long>(std::llround(start * rate_));
    const double gl = v.gain * velocity * std::sqrt(0.5 * (1 - pan));
    const double gr = v.gain * velocity * std::sqrt(0.5 * (1 + pan));
    const double detuneRatio = std::pow(2.0, v.detune / 12.0);
    double phase = 0, phase2 = 0.25;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / rate_;
        double f = hz;
        if (v.pitchDrop > 0 && v.pitchDropTime > 0)
            f *= std::pow(2.0, -v.pitchDrop * std::min(1.0, t / v.pitchDropTime));
        if (v.vibrato > 0) f *= std::pow(2.0, v.vibrato / 12.0 * std::sin(2 * std::numbers::pi * 5.5 * t));
        double s = Oscillator(v.wave, phase, v.duty, noise_);
        if (v.detune != 0) s = 0.5 * (s + Oscillator(v.wave, phase2, v.duty, noise_));
        phase += f / rate_;
        phase2 += f * detuneRatio / rate_;
        s *= v.env.Level(t, held);
        const long long at = first + static_cast<long long>(i);
        const auto idx = static_cast<std::size_t>(((at % static_cast<long long>(frames_)) + static_cast<long long>(frames_))
                                                  % static_cast<long long>(frames_));
        left_[idx] += static_cast<float>(s * gl);
        right_[idx] += static_cast<float>(s * gr);
    }
}

void LoopBuffer::AddNotes(const Voice& v, const std::vector<Note>& notes, double bpm, double pan)
{
    const double beat = 60.0 / bpm;
    for (const auto& n : notes) AddTone(v, n.beat * beat, n.beats * beat, MidiToHz(n.midi), n.velocity, pan);
}

double LoopBuffer::Peak() const
{
    double peak = 0;
    for (std::size_t i = 0; i < frames_; ++i) peak = std::max({peak, double(std::fabs(left_[i])), double(std::fabs(right_[i]))});
    return peak;
}

std::vector<std::int16_t> LoopBuffer::Pcm16(int channels, double peak) const
{
    std::vector<double> mixed;
    mixed.reserve(frames_ * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames_; ++i) {
        if (channels == 1) {
            // A centred sound keeps its level when both sides are folded together.
            mixed.push_back(0.5 * (left_[i] + right_[i]) * std::numbers::sqrt2);
        } else {
            mixed.push_back(left_[i]);
            mixed.push_back(right_[i]);
        }
    }
    double loudest = 0;
    for (double x : mixed) loudest = std::max(loudest, std::fabs(x));
    const double scale = 32767.0 * (loudest > peak ? peak / loudest : 1.0);
    std::vector<std::int16_t> out;
    out.reserve(mixed.size());
    for (double x : mixed) out.push_back(static_cast<std::int16_t>(std::clamp(std::lround(x * scale), -32768L, 32767L)));
    return out;
}

} // namespace wd::synth
