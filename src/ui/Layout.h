// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Layout tables: a screen declares its window and every control as data, and
// one builder (ControlSet) makes the widgets from it.
//
//   const Row kRows[] = {
//       {.name = "Lblque", .index = 3, .kind = Kind::Label, .in = "Frame1",
//        .left = 1185, .top = 180, .width = 270, .height = 300, .caption = u"O",
//        .font = font::S12B, .fore = Colour::LightCyan, .back = Colour::BoxBlue, .tab = 21},
//       ...
//   };
//
// Positions and sizes are twips, relative to the container named in `in`
// (nullptr: the window's client area). Rows are listed from the top of the
// stacking order down; controls with a window of their own (buttons, text
// boxes, frames) always lie above the labels and shapes of their container.
#include <span>

#include <QString>

#include "ui/AnimationPanel.h"
#include "ui/Look.h"

namespace wd {

enum class Kind {
    Label,   // text on an opaque box, no focus
    Button,  // push button; "&" marks the access key
    TextBox, // single-line edit field
    Frame,   // group box with an optional caption in its top border
    Shape,   // an outline drawn on its container
    Timer,   // QTimer, precise, stopped at load
    Movie,   // the hidden movie player slot: an AnimationPanel
};

// Flags of a row.
namespace ctl {
inline constexpr unsigned Hidden = 1u << 0;   // not visible at load
inline constexpr unsigned Disabled = 1u << 1; // greyed, ignores mouse and keys at load
inline constexpr unsigned Centred = 1u << 2;  // label text centred (else left)
inline constexpr unsigned FitsText = 1u << 3; // label box resizes to its text, keeping Left/Top
inline constexpr unsigned Masked = 1u << 4;   // text box shows "*" and takes no input method
inline constexpr unsigned Link = 1u << 5;     // link label: red bold under the pointer
} // namespace ctl

inline constexpr int kNoIndex = -1;

struct Row {
    const char* name = nullptr;     // the control's name
    int index = kNoIndex;           // index within a control array, or kNoIndex
    Kind kind = Kind::Label;
    const char* in = nullptr;       // container frame, nullptr for the window
    int inIndex = kNoIndex;         // index of the container in its array
    int left = 0, top = 0;          // twips
    int width = 0, height = 0;      // twips
    const char16_t* caption = u"";  // caption / initial text; "\r" starts a new line
    FontSpec font = font::Window;
    Colour fore = Colour::Default;  // text colour; a shape's outline colour
    Colour back = Colour::Default;  // background colour
    unsigned flags = 0;             // ctl::...
    int maxLength = 0;              // text box: at most N characters, 0 for no limit
    int tab = -1;                   // place in the Tab order, -1 for none
    int interval = 0;               // timer: milliseconds
    AnimationPanel::Play play = AnimationPanel::Play::Off; // movie slot
    // What a screen reader calls the control: a label says it before its
    // text ("剩余时间：240"), a text box and a frame without a caption go by
    // it, and so does a shape. nullptr: a label or frame says its caption, a
    // button always does.
    const char16_t* said = nullptr;
};

struct WindowLayout {
    QString caption;
    int width = 0, height = 0;      // client area, twips
    Colour back = Colour::Green;
    FontSpec font = font::DefaultWindow; // the window font
    std::span<const Row> rows;
    QString description{};          // what the window is for, for screen readers
};

} // namespace wd
