// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The controls of one window, built from its layout table and reached by kind,
// name and index: Get<Label>("Lblque", 3), Get<Button>("CmdNum", 2). A screen
// looks each control up once, when it is built, into typed handles:
//
//   LblTime(set.Get<Label>("LblTime")), Lblque(set.GetArray<Label, 5>("Lblque"))
#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <QPointer>
#include <QTimer>

#include "ui/Controls.h"
#include "ui/Layout.h"

namespace wd {

class ControlSet {
public:
    // Builds every row of the table as a child of window (or of its container
    // frame), with geometry, captions, fonts, colours, flags, stacking and Tab
    // order. Throws std::logic_error for a table that names a control twice or
    // a container that is not an earlier or later frame of the same table.
    ControlSet(QWidget& window, const WindowLayout& layout);

    // The control of that name and index as T: Label, Button, TextBox, Frame,
    // Shape, QTimer or AnimationPanel for that kind of row, QWidget for any
    // row that makes a widget. Throws std::out_of_range for a name/index that
    // the table does not hold with that kind.
    template <class T> T* Get(const char* name, int index = kNoIndex) const
    {
        if constexpr (std::is_same_v<T, QWidget>)
            return AnyWidget(name, index);
        else
            return static_cast<T*>(Find(name, index, KindOf<T>()));
    }
    // The control array name(0) .. name(N - 1).
    template <class T, std::size_t N> std::array<T*, N> GetArray(const char* name) const
    {
        std::array<T*, N> all{};
        for (std::size_t i = 0; i < N; ++i) all[i] = Get<T>(name, static_cast<int>(i));
        return all;
    }

    // Controls that take the focus, in Tab order.
    const std::vector<QWidget*>& TabOrder() const { return tabOrder_; }
    // Every link label of the window.
    const std::vector<Label*>& Links() const { return links_; }
    // Every timer of the window.
    std::vector<QTimer*> Timers() const;
    // The first control in Tab order that can take the focus now, or nullptr.
    QWidget* FirstFocusable() const;

private:
    struct Entry {
        Kind kind;
        QObject* object; // owned by the window through Qt's parent link
    };
    using Key = std::pair<std::string, int>;
    template <class T> static constexpr Kind KindOf()
    {
        if constexpr (std::is_same_v<T, Label>) return Kind::Label;
        else if constexpr (std::is_same_v<T, Button>) return Kind::Button;
        else if constexpr (std::is_same_v<T, TextBox>) return Kind::TextBox;
        else if constexpr (std::is_same_v<T, Frame>) return Kind::Frame;
        else if constexpr (std::is_same_v<T, Shape>) return Kind::Shape;
        else if constexpr (std::is_same_v<T, QTimer>) return Kind::Timer;
        else if constexpr (std::is_same_v<T, AnimationPanel>) return Kind::Movie;
        else static_assert(!sizeof(T), "not a kind of control");
    }
    QObject* Find(const char* name, int index, Kind kind) const;
    QWidget* AnyWidget(const char* name, int index) const;

    std::map<Key, Entry> controls_;
    std::vector<QWidget*> tabOrder_;
    std::vector<Label*> links_;
};

} // namespace wd
