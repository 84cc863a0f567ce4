// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ControlSet.h"

#include <algorithm>
#include <stdexcept>

namespace wd {

namespace {

std::string Describe(const char* name, int index)
{
    std::string s = name ? name : "(unnamed)";
    if (index != kNoIndex) s.append("(").append(std::to_string(index)).append(")");
    return s;
}

bool HasWindow(Kind kind)
{
    return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::Frame;
}

QRect PixelRect(const Row& row)
{
    return {TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width), TwipsToPixels(row.height)};
}

} // namespace

ControlSet::ControlSet(QWidget& window, const WindowLayout& layout)
{
    const QFont windowFont = GameFont(layout.font);
    auto fontOf = [&](FontSpec font) {
        return font.size == TextSize::Window ? windowFont : GameFont(font);
    };

    // First every control, parented to the window ...
    std::vector<std::pair<const Row*, QObject*>> built;
    for (const Row& row : layout.rows) {
        const Key key{row.name ? row.name : "", row.index};
        if (key.first.empty()) throw std::logic_error("layout row without a name");
        if (controls_.count(key)) throw std::logic_error("control named twice: " + Describe(row.name, row.index));

        const QString said = row.said ? QString::fromUtf16(row.said) : QString();
        QObject* object = nullptr;
        switch (row.kind) {
        case Kind::Label: {
            auto* l = new Label(&window);
            l->setFont(fontOf(row.font));
            if (row.fore != Colour::Default) l->SetForeColor(ToQColor(row.fore));
            if (row.back != Colour::Default) l->SetBackColor(ToQColor(row.back));
            l->SetCentred(row.flags & ctl::Centred);
            l->setGeometry(PixelRect(row));
            l->SetLink(row.flags & ctl::Link);
            l->SetFitsText(row.flags & ctl::FitsText);
            l->SetSpokenName(said);
            l->SetCaption(QString::fromUtf16(row.caption));
            if (l->IsLink()) links_.push_back(l);
            object = l;
            break;
        }
        case Kind::Button: {
            auto* b = new Button(&window);
            b->setFont(fontOf(row.font));
            b->SetCaption(QString::fromUtf16(row.caption));
            b->setGeometry(PixelRect(row));
            object = b;
            break;
        }
        case Kind::TextBox: {
            auto* t = new TextBox(&window);
            t->setFont(fontOf(row.font));
            if (row.maxLength > 0) t->SetMaxCharacters(row.maxLength);
            t->SetMasked(row.flags & ctl::Masked);
            t->setText(QString::fromUtf16(row.caption));
            t->setAccessibleName(said);
            t->setGeometry(PixelRect(row));
            object = t;
            break;
        }
        case Kind::Frame: {
            auto* f = new Frame(&window);
            f->setFont(fontOf(row.font));
            if (row.fore != Colour::Default) f->SetForeColor(ToQColor(row.fore));
            if (row.back != Colour::Default) f->SetBackColor(ToQColor(row.back));
            f->SetSpokenName(said);
            f->SetCaption(QString::fromUtf16(row.caption));
            f->setGeometry(PixelRect(row));
            object = f;
            break;
        }
        case Kind::Shape: {
            auto* s = new Shape(&window);
            if (row.fore != Colour::Default) s->SetBorderColor(ToQColor(row.fore));
            s->setAccessibleName(said);
            s->setGeometry(PixelRect(row));
            object = s;
            break;
        }
        case Kind::Timer: {
            auto* t = new QTimer(&window);
            t->setTimerType(Qt::PreciseTimer);
            t->setInterval(row.interval);
            object = t;
            break;
        }
        case Kind::Movie:
            object = new AnimationPanel(row.play, &window);
            break;
        }
        object->setObjectName(QString::fromStdString(Describe(row.name, row.index)));
        if (auto* w = qobject_cast<QWidget*>(object)) {
            // A move over a control belongs to that control, never to the
            // window's free surface beneath it.
            w->setAttribute(Qt::WA_NoMousePropagation);
        }
        controls_.emplace(key, Entry{row.kind, object});
        built.emplace_back(&row, object);
    }

    // ... then into their containers, ...
    for (auto [row, object] : built) {
        if (!row->in) continue;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget) continue; // timers and movie slots belong to the window
        const auto it = controls_.find(Key{row->in, row->inIndex});
        if (it == controls_.end() || it->second.kind != Kind::Frame)
            throw std::logic_error("no frame " + Describe(row->in, row->inIndex) + " for " + Describe(row->name, row->index));
        widget->setParent(static_cast<QWidget*>(it->second.object));
    }

    // ... stacked: windowed controls over labels and shapes, and within each
    // group the row listed higher on top (raise() puts a widget on top).
    for (bool windowed : {false, true}) {
        for (auto it = built.rbegin(); it != built.rend(); ++it) {
            auto* widget = qobject_cast<QWidget*>(it->second);
            if (widget && HasWindow(it->first->kind) == windowed) widget->raise();
        }
    }

    // Visibility and enabled state as laid out. Children of a window are
    // shown with it; hidden rows stay hidden.
    for (auto [row, object] : built) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget) continue;
        widget->setVisible(!(row->flags & ctl::Hidden));
        widget->setEnabled(!(row->flags & ctl::Disabled));
    }

    // Tab order: the controls that can ever take the focus, by their tab.
    std::vector<std::pair<int, QWidget*>> focusable;
    for (auto [row, object] : built) {
        if ((row->kind == Kind::Button || row->kind == Kind::TextBox) && row->tab >= 0)
            focusable.emplace_back(row->tab, static_cast<QWidget*>(object));
    }
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [tab, widget] : focusable) tabOrder_.push_back(widget);
    for (std::size_t i = 1; i < tabOrder_.size(); ++i) QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
}

QObject* ControlSet::Find(const char* name, int index, Kind kind) const
{
    const auto it = controls_.find(Key{name ? name : "", index});
    if (it == controls_.end() || it->second.kind != kind)
        throw std::out_of_range("no such control: " + Describe(name, index));
    return it->second.object;
}

QWidget* ControlSet::AnyWidget(const char* name, int index) const
{
    const auto it = controls_.find(Key{name ? name : "", index});
    QWidget* w = it == controls_.end() ? nullptr : qobject_cast<QWidget*>(it->second.object);
    if (!w) throw std::out_of_range("no such control: " + Describe(name, index));
    return w;
}

std::vector<QTimer*> ControlSet::Timers() const
{
    std::vector<QTimer*> timers;
    for (const auto& [key, entry] : controls_)
        if (entry.kind == Kind::Timer) timers.push_back(static_cast<QTimer*>(entry.object));
    return timers;
}

QWidget* ControlSet::FirstFocusable() const
{
    for (QWidget* w : tabOrder_) {
        if (w->isVisibleTo(w->window()) && w->isEnabledTo(w->window()) && w->isEnabled()) return w;
    }
    return nullptr;
}

} // namespace wd
