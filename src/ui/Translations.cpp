// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Translations.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace wd {

bool InstallQtTranslations(const QLocale& locale)
{
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(app); // the application owns it from here
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace wd
