// Every window on a display that doubles its pixels (QT_SCALE_FACTOR=2) has
// twice the pixels of the same window at ratio 1, shot by this very test in a
// process of its own, and every label's text is drawn at twice its size, not
// a ratio-1 picture blown up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;

namespace {

constexpr ScreenId kAll[] = {ScreenId::FrmStart, ScreenId::Frmmain, ScreenId::FrmCountUp,
                             ScreenId::FrmExplosion, ScreenId::FrmSaveMoney, ScreenId::FrmHelp};

QString ShotFile(const QString& folder, ScreenId id) { return QStringLiteral("%1/%2.png").arg(folder).arg(int(id)); }

// The box around every pixel of area that is not in the colour back.
QRect Ink(const QImage& image, const QRect& area, QColor back)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != back) ink |= QRect(x, y, 1, 1);
    return ink;
}

// Whether area holds detail finer than two device pixels.
bool Sharp(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p) return true;
        }
    return false;
}

} // namespace

TEST(HiDpi, EveryWindowHasTwiceThePixelsWithItsTextDrawnAtTwiceTheSize)
{
    ScreenRig rig;
    RegisterAllScreens(rig.screens);
    if (const QString folder = qEnvironmentVariable("WD_SHOTS_AT_RATIO_ONE"); !folder.isEmpty()) {
        for (ScreenId id : kAll) ASSERT_TRUE(rig.screens.Load(id).grab().save(ShotFile(folder, id)));
        return; // the reference run
    }
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    QTemporaryDir folder;
    QProcess reference;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
    env.insert(QStringLiteral("WD_SHOTS_AT_RATIO_ONE"), folder.path());
    reference.setProcessEnvironment(env);
    reference.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=HiDpi.*")});
    ASSERT_TRUE(reference.waitForFinished(60000) && reference.exitCode() == 0) << reference.readAll().toStdString();

    int measured = 0;
    for (ScreenId id : kAll) {
        Screen& screen = rig.screens.Load(id);
        SCOPED_TRACE(screen.windowTitle().toStdString());
        const QImage one(ShotFile(folder.path(), id)), two = screen.grab().toImage();
        ASSERT_EQ(two.size(), one.size() * 2);
        for (const Label* label : screen.findChildren<Label*>()) {
            if (!label->isVisibleTo(&screen) || label->text().trimmed().isEmpty()) continue;
            const QRect box = QRect(label->mapTo(&screen, QPoint(0, 0)), label->size()) & one.rect();
            const QRect ink1 = Ink(one, box, label->BackColor());
            if (ink1.isEmpty()) continue; // covered by another control
            const QRect ink2 = Ink(two, QRect(box.topLeft() * 2, box.size() * 2), label->BackColor());
            // Within a few pixels: hinting differs between sizes, and the bold
            // that the font engine makes up thins out above 64 pixels.
            EXPECT_NEAR(ink2.height(), 2 * ink1.height(), 3 + ink1.height() / 4) << label->objectName().toStdString();
            EXPECT_NEAR(ink2.width(), 2 * ink1.width(), 3 + ink1.width() / 4) << label->objectName().toStdString();
            EXPECT_NEAR(ink2.left(), 2 * ink1.left(), 3) << label->objectName().toStdString();
            EXPECT_TRUE(Sharp(two, ink2)) << label->objectName().toStdString();
            ++measured;
        }
    }
    EXPECT_GT(measured, 20);
}
