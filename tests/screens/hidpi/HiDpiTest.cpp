#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "EveryScreen.h"

using namespace wd::test;

namespace {

// The shots of the same screens at a device pixel ratio of 1, taken by the
// reference program in a process of its own.
std::map<QString, ScreenShot> AtRatioOne()
{
    QTemporaryDir folder;
    QProcess reference;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
    env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
    reference.setProcessEnvironment(env);
    reference.start(QStringLiteral(WD_REFERENCE_SHOTS), {folder.path()});
    if (!reference.waitForFinished(60000) || reference.exitCode() != 0)
        ADD_FAILURE() << "reference shots failed: " << reference.readAllStandardError().toStdString();
    return ReadShots(folder.path());
}

// The box around every pixel of area that is not in the colour back.
QRect Ink(const QImage& image, const QRect& area, QColor back)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != back) ink |= QRect(x, y, 1, 1);
    return ink;
}

// Whether area holds detail finer than two device pixels: text drawn at the
// ratio, not a ratio-1 picture blown up.
bool Sharp(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2)
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                return true;
        }
    return false;
}

QRect Doubled(const QRect& r) { return {2 * r.x(), 2 * r.y(), 2 * r.width(), 2 * r.height()}; }

} // namespace

TEST(HiDpi, EveryWindowIsTwiceAsLargeWithEveryControlInItsPlaceAndTextDrawnSharpAtTwiceItsSize)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    const auto one = AtRatioOne();
    const auto two = ShootEveryScreen();
    ASSERT_EQ(one.size(), 6u);
    ASSERT_EQ(two.size(), one.size());
    int measured = 0;
    for (const auto& [screen, shot] : two) {
        SCOPED_TRACE(screen.toStdString());
        const ScreenShot& ref = one.at(screen);
        EXPECT_EQ(shot.ratio, 2.0);
        EXPECT_EQ(shot.grab.size(), ref.grab.size() * 2);
        ASSERT_EQ(shot.controls.size(), ref.controls.size());
        for (const auto& [name, place] : shot.controls) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(ref.controls.count(name));
            const QRect r = ref.controls.at(name).rect;
            EXPECT_EQ(place.rect, r);
            if (!place.labelBack.isValid() || r.isEmpty()) continue;
            // A label's box covers exactly twice its pixels: its corners there
            // are what they are at ratio 1.
            const QRect d = Doubled(r);
            for (auto [p1, p2] : {std::pair{r.topLeft(), d.topLeft()}, std::pair{r.bottomRight(), d.bottomRight()},
                                  std::pair{r.topRight(), d.topRight()}, std::pair{r.bottomLeft(), d.bottomLeft()}}) {
                if (ref.grab.rect().contains(p1) && ref.grab.pixelColor(p1) == place.labelBack) {
                    EXPECT_EQ(shot.grab.pixelColor(p2), place.labelBack) << p2.x() << "," << p2.y();
                }
            }
            // Its text is drawn at twice the size, not blown up.
            const QRect shown = r & ref.grab.rect();
            const QRect ink1 = Ink(ref.grab, shown, place.labelBack);
            if (!place.hasText || ink1.isEmpty()) continue; // blank, or covered by another control
            const QRect ink2 = Ink(shot.grab, Doubled(shown), place.labelBack);
            // Within a few pixels: hinting differs between sizes, and the bold
            // that the font engine makes up thins out above 64 pixels.
            EXPECT_NEAR(ink2.height(), 2 * ink1.height(), 3 + ink1.height() / 4);
            EXPECT_NEAR(ink2.width(), 2 * ink1.width(), 3 + ink1.width() / 4);
            EXPECT_TRUE(Sharp(shot.grab, ink2));
            ++measured;
        }
    }
    EXPECT_GT(measured, 20);
}
