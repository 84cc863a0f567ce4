#pragma once
// The controls of one window, built from its layout table and reached by
// name and index: label("Lblque", 3), button("CmdNum", 2), edit("Txtanswer").
#include <map>
#include <string>
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

    // Each lookup throws std::out_of_range for a name/index that the table does
    // not hold with that kind.
    Label* label(const char* name, int index = kNoIndex) const;
    Button* button(const char* name, int index = kNoIndex) const;
    TextBox* edit(const char* name, int index = kNoIndex) const;
    Frame* frame(const char* name, int index = kNoIndex) const;
    Shape* shape(const char* name, int index = kNoIndex) const;
    QTimer* timer(const char* name, int index = kNoIndex) const;
    AnimationPanel* movie(const char* name, int index = kNoIndex) const;
    // Any control that is a widget (not timers and movie slots).
    QWidget* widget(const char* name, int index = kNoIndex) const;

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
    QObject* Find(const char* name, int index, Kind kind) const;

    std::map<Key, Entry> controls_;
    std::vector<QWidget*> tabOrder_;
    std::vector<Label*> links_;
};

} // namespace wd
