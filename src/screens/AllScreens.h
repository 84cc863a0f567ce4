#pragma once

namespace wd {

class Screens;

// Makes every screen of the game known to screens. A new screen adds one line.
void RegisterAllScreens(Screens& screens);

} // namespace wd
