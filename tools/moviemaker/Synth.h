// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// A small synthesizer for the game's music: oscillators, ADSR envelopes, notes
// by name or MIDI number, and a loop buffer that mixes everything to 16-bit PCM.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace wd::synth {

enum class Wave { Sine, Square, Triangle, Saw, Noise };

// The oscillator's value at phase (in cycles; only the fraction counts), -1..1.
// `duty` is the high part of a pulse; noise takes its value from `noiseState`.
double Oscillator(Wave wave, double phase, double duty, std::uint32_t& noiseState);

struct Adsr {
    double attack = 0.005; // seconds
    double decay = 0.1;    // seconds
    double sustain = 0.7;  // level 0..1
    double release = 0.1;  // seconds after the note's end

    // The level at `t` seconds after the note starts, for a note held `held` seconds.
    double Level(double t, double held) const;
};

struct Voice {
    Wave wave = Wave::Sine;
    double duty = 0.5;
    Adsr env;
    double gain = 0.3;
    double pitchDrop = 0;     // octaves the pitch falls from the note's start (drums)
    double pitchDropTime = 0; // seconds the fall takes
    double vibrato = 0;       // depth in semitones, at 5.5 Hz
    double detune = 0;        // a second oscillator this many semitones off (0 = none)
};

// MIDI number of a note name such as "C4", "F#3", "Bb5" (C4 = 60), or -1 for a
// rest ("r", "-") and -2 for something unreadable.
int MidiFromName(std::string_view name);
double MidiToHz(double midi);

struct Note {
    double beat = 0;  // start
    double beats = 1; // length
    int midi = 60;
    double velocity = 1;
};

// Notes from text: "C4 E4/0.5 r/0.5 G4/2" — a name (or MIDI number, or rest) and
// an optional length in beats after a slash (1 by default), one after the other.
// "C4+E4+G4/2" is a chord. Unreadable words are ignored.
std::vector<Note> Sequence(std::string_view text, double startBeat = 0, double velocity = 1);
// The same notes moved by `semitones`.
std::vector<Note> Transpose(std::vector<Note> notes, int semitones);
// The same notes repeated `times`, each repeat `everyBeats` later.
std::vector<Note> Repeat(const std::vector<Note>& notes, int times, double everyBeats);

// A stereo buffer of a fixed length. Sound that runs past the end wraps to the
// start, so the buffer loops without a seam.
class LoopBuffer {
public:
    LoopBuffer(int sampleRate, std::size_t frames);

    int SampleRate() const { return rate_; }
    std::size_t Frames() const { return frames_; }
    double Seconds() const { return double(frames_) / rate_; }

    // One note of `hz` from `start` seconds, held `held` seconds; pan -1 (left) .. 1.
    void AddTone(const Voice& v, double start, double held, double hz, double velocity = 1, double pan = 0);
    // Notes at `bpm` beats a minute.
    void AddNotes(const Voice& v, const std::vector<Note>& notes, double bpm, double pan = 0);

    // Scaled so the loudest sample reaches `peak` of full scale (never louder than
    // 1:1 when quiet already). Mono output averages the two sides.
    std::vector<std::int16_t> Pcm16(int channels, double peak = 0.85) const;
    double Peak() const;

private:
    int rate_;
    std::size_t frames_;
    std::vector<float> left_, right_;
    std::uint32_t noise_ = 0x12345678u;
};

} // namespace wd::synth
