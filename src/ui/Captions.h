#pragma once
// Texts as the game stores them and as they are drawn.
#include <QString>

namespace wd {

// A carriage return (U+000D) starts a new line: CR LF and a lone CR become LF.
// Everything else is kept as it is.
QString DisplayLines(const QString& text);

} // namespace wd
