// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Texts as the game stores them and as they are drawn.
#include <QString>

namespace wd {

// A carriage return (U+000D) starts a new line: CR LF and a lone CR become LF.
// Everything else is kept as it is.
QString DisplayLines(const QString& text);

// A caption as a screen reader should say it: every line break becomes a
// space, and surrounding blanks are dropped.
QString SpokenText(const QString& text);

// A button caption without its access key: "退出(&Q)" says "退出", "&PASS"
// says "PASS", "&&" is a literal "&".
QString WithoutAccessKey(const QString& caption);

} // namespace wd
