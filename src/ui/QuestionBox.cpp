// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/QuestionBox.h"

#include <QWidget>

#include "ui/ControlSet.h"

namespace wd {

bool QuestionShowsWhole(const QString& quest)
{
    Row row = kQuestionRow;
    row.in = nullptr; // measured alone, in a window of its own
    QWidget window;
    const Row rows[] = {row};
    const ControlSet controls(window, WindowLayout{.caption = {}, .rows = rows});
    Label* box = controls.Get<Label>(row.name);
    box->SetCaption(quest);
    return box->ShowsWhole();
}

} // namespace wd
