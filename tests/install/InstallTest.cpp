// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Debian package that scripts/package.sh makes from the build's install
// rules (scripts/test.sh makes it first): its files, Debian's fields, lintian
// (which also checks the desktop entry and the metainfo), and its game started
// by another user from its read-only folder. Skipped while there is no package.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>
#include <set>
#include <string>

#include <sys/inotify.h>
#include <unistd.h>

#include "game/Site.h"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kPackage = WD_PACKAGE_FILE, kGame = fs::path("usr") / WD_INSTALL_GAME_DIR,
               kLauncher = fs::path("usr") / WD_PACKAGE_BINDIR / "wendingwuguan";

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// Exit code (-1 if it did not start or crashed) and output.
std::pair<int, QString> Execute(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ran = p.waitForStarted(10000) && p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
    return {ran ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

// The package unpacked as dpkg lays it out, in a fresh folder any user may read.
class Package : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kPackage)) {
            if (std::getenv("CI")) FAIL() << kPackage << " is missing"; // CI always makes it first
            GTEST_SKIP() << kPackage << " is missing: run bash scripts/package.sh";
        }
        fs::permissions(root_, fs::perms(0755));
        ASSERT_EQ(Execute(QStringLiteral("dpkg-deb"), {"-x", Q(kPackage), Q(root_)}).first, 0);
    }
    void TearDown() override { EXPECT_EQ(std::system(("chmod -R u+w " + root_.string()).c_str()), 0); }

    QTemporaryDir dir_;
    const fs::path root_ = dir_.path().toStdString();
};

} // namespace

TEST_F(Package, HoldsTheGameItsLauncherEntryMetainfoAndIconsWithDebiansFieldsAndPassesLintian)
{
    const std::string share = "usr/share/", doc = share + "doc/" WD_PACKAGE_NAME "/";
    std::set<std::string> expected = {kLauncher.string(), (kGame / "wendingwuguan").string(), (kGame / "wending.bin").string(),
                                      share + "applications/" + kId + ".desktop", share + "metainfo/" + kId + ".metainfo.xml",
                                      doc + "copyright", doc + "changelog.gz", share + "lintian/overrides/" WD_PACKAGE_NAME};
    for (const char* movie : {"1", "2", "3", "4", "5", "bantou", "noend", "explore", "baobao"})
        expected.insert((kGame / "swf" / (std::string(movie) + ".swf")).string());
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size), icon = share + "icons/hicolor/" + side + "x" + side + "/apps/" + kId + ".png";
        expected.insert(icon);
        EXPECT_EQ(QImage(Q(root_ / icon)).size(), QSize(size, size));
    }
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root_))
        if (!e.is_directory() || e.is_symlink()) files.insert(e.path().lexically_relative(root_).string());
    EXPECT_EQ(files, expected);

    // The menu shows the game's name and icon and starts the launcher.
    QFile entry(Q(root_ / share / "applications" / (kId + ".desktop")));
    const QStringList lines = entry.open(QIODevice::ReadOnly) ? QString::fromUtf8(entry.readAll()).split(u'\n') : QStringList();
    for (const QString& line : QStringList{"Name=问鼎五关", "Exec=wendingwuguan", "Icon=" + QString::fromStdString(kId)})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();

    const QString control = Execute(QStringLiteral("dpkg-deb"), {"--field", Q(kPackage)}).second;
    for (const QString& field : QStringList{"Package: " WD_PACKAGE_NAME, "Version: " WD_VERSION, "Architecture: " WD_DEB_ARCH,
                                            "Section: games", "Homepage: " + wd::site::HomeAddress(),
                                            "Recommends: qt6-wayland"})
        EXPECT_TRUE(control.split(u'\n').contains(field)) << field.toStdString() << " not in " << control.toStdString();
    // The font, the browser opener and Qt's translations by hand; the libraries from dpkg-shlibdeps.
    for (const char* package : {"fonts-wqy-microhei", "xdg-utils", "qt6-translations-l10n", "libpulse0", "libsqlite3-0"})
        EXPECT_TRUE(control.contains(QRegularExpression(QStringLiteral("\nDepends: (.*[ ,|])?%1( |,|\n)").arg(QLatin1String(package)))))
            << package << " not in " << control.toStdString();
    // lintian applies the overrides the package ships; every one must still be needed.
    const auto [code, lintian] = Execute(QStringLiteral("lintian"), {"--display-info", "--fail-on", "error,warning", Q(kPackage)});
    EXPECT_EQ(code, 0) << lintian.toStdString();
    EXPECT_FALSE(lintian.contains(QStringLiteral("-override"))) << lintian.toStdString();
}

// Started by the launcher the menu runs, as nobody when we are root, from a
// folder nobody may write in, it opens its question file and shows its start screen.
TEST_F(Package, ItsGameStartsAsAnotherUserFromItsReadOnlyFolderAndOpensItsQuestionFile)
{
    const fs::path home = root_ / "home";
    ASSERT_EQ(std::system(("chmod -R a-w " + (root_ / "usr").string()).c_str()), 0);
    fs::create_directory(home);
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(!asRoot || chown(home.c_str(), 65534, 65534) == 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, (root_ / kGame).c_str(), IN_OPEN), 0);

    // Qt's painting log tells when the start screen has been drawn.
    QStringList command{"env", "-i", "QT_QPA_PLATFORM=offscreen", "QT_LOGGING_RULES=qt.widgets.painting=true",
                        "PATH=/usr/bin:/bin", "HOME=" + Q(home), Q(root_ / kLauncher)};
    if (asRoot) command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + command;
    QProcess player;
    player.setWorkingDirectory(Q(home));
    player.start(command.takeFirst(), command);
    const QRegularExpression shown(QStringLiteral("Flushing QRegion\\(\\S+ \\S+\\) of wd::FrmStart\\("));
    QString log;
    QElapsedTimer clock;
    clock.start();
    while (player.state() != QProcess::NotRunning && clock.elapsed() < 60000 && !shown.match(log).hasMatch()) {
        player.waitForReadyRead(100);
        log += QString::fromUtf8(player.readAllStandardError());
    }
    EXPECT_EQ(player.state(), QProcess::Running) << "the game ended early: " << log.right(2000).toStdString();
    EXPECT_TRUE(shown.match(log).hasMatch()) << "no start screen shown: " << log.right(2000).toStdString();
    player.kill();
    player.waitForFinished(10000);
    alignas(inotify_event) char events[16384];
    const ssize_t n = read(watch, events, sizeof events);
    close(watch);
    EXPECT_TRUE(n > 0 && QByteArray(events, n).contains("wending.bin")) << "the question file was not opened";
}
