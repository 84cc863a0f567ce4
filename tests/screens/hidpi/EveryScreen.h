#pragma once
// Every screen of the game, loaded on a generated question file, as a
// comparison across device pixel ratios sees it: the window's grab and the
// place of each visible control in device-independent pixels.
#include <map>
#include <vector>

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

namespace wd::test {

struct ControlPlace {
    QRect rect;            // in the window, device-independent pixels
    QColor labelBack;      // a label's background colour, invalid for other kinds
    bool hasText = false;  // a label showing text
};

struct ScreenShot {
    QImage grab;                                  // device pixels
    double ratio = 1;                             // of the grab
    std::map<QString, ControlPlace> controls;     // by control name
};

// Loads every screen and shoots it, by screen name.
std::map<QString, ScreenShot> ShootEveryScreen();

// Writes shots to a file in folder and reads them back.
bool WriteShots(const std::map<QString, ScreenShot>& shots, const QString& folder);
std::map<QString, ScreenShot> ReadShots(const QString& folder);

} // namespace wd::test
