// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Qt's own translations for the user's language, so that system texts such as
// the buttons of message boxes read "确定" and "取消" on a Chinese desktop.
#include <QLocale>

namespace wd {

// Installs Qt's translation for locale on the running application (the
// translator lives as long as the application). Returns false when Qt has
// none for that language; English texts then stay.
bool InstallQtTranslations(const QLocale& locale = QLocale::system());

} // namespace wd
