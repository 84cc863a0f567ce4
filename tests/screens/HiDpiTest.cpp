// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Every window on a display that doubles its pixels (QT_SCALE_FACTOR=2) has
// twice the pixels of the same window at ratio 1, shot by this very test in a
// process of its own, and every label's text is drawn at twice its size in
// the same place.
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

QString ShotFile(const QString& folder, std::size_t screen) { return QStringLiteral("%1/%2.png").arg(folder).arg(screen); }

// The box around every pixel of area that is not in the colour back.
QRect Ink(const QImage& image, const QRect& area, QColor back)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != back) ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

TEST(HiDpi, EveryWindowHasTwiceThePixelsWithItsTextDrawnAtTwiceTheSize)
{
    ScreenRig rig;
    RegisterAllScreens(rig.screens);
    if (const QString folder = qEnvironmentVariable("WD_SHOTS_AT_RATIO_ONE"); !folder.isEmpty()) {
        for (std::size_t i = 0; i < kScreenCount; ++i) ASSERT_TRUE(rig.screens.Load(ScreenId(i)).grab().save(ShotFile(folder, i)));
        return; // the reference run
    }
    QTemporaryDir folder;
    QProcess reference;
    reference.setEnvironment(QProcess::systemEnvironment() << "QT_SCALE_FACTOR=1" << "WD_SHOTS_AT_RATIO_ONE=" + folder.path());
    reference.setProcessChannelMode(QProcess::MergedChannels); // a screen that cannot be built says so
    reference.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=HiDpi.*")});
    ASSERT_TRUE(reference.waitForFinished(60000) && reference.exitCode() == 0) << reference.readAll().toStdString();

    int measured = 0;
    for (std::size_t i = 0; i < kScreenCount; ++i) {
        Screen& screen = rig.screens.Load(ScreenId(i));
        SCOPED_TRACE(screen.windowTitle().toStdString());
        const QImage one(ShotFile(folder.path(), i)), two = screen.grab().toImage();
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
            ++measured;
        }
    }
    EXPECT_GT(measured, 20);
}
