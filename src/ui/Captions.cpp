// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Captions.h"

#include <QRegularExpression>

namespace wd {

QString DisplayLines(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString SpokenText(const QString& text)
{
    QString spoken = DisplayLines(text);
    spoken.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return spoken.trimmed();
}

QString WithoutAccessKey(const QString& caption)
{
    // A key in brackets after the words, the way Chinese captions carry it.
    static const QRegularExpression bracketed(QStringLiteral("[(（]&[^&][)）]"));
    QString said = caption;
    said.remove(bracketed);
    QString out;
    for (qsizetype i = 0; i < said.size(); ++i) {
        if (said[i] == u'&' && ++i == said.size()) break; // "&x" says x, "&&" says "&"
        out += said[i];
    }
    return out.trimmed();
}

} // namespace wd
