#pragma once
// Opening the fan site's pages from a screen's links.
#include <QString>

namespace wd {

class Screen;

// Opens a page of the site through the URL opener; when no browser can be
// started, the player is told so, with the address to copy, and false returns.
bool OpenPageInBrowser(Screen& screen, const QString& address);
// What the player is told when no browser could open a page.
QString PageNotOpenedText(const QString& address);

} // namespace wd
