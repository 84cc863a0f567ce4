// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Debian package that scripts/package.sh makes from the build's install
// rules (scripts/test.sh makes it first): its files, Debian's fields, lintian
// (which also checks the desktop entry and the metainfo), its copyright file,
// manual pages and question-file tool, and games played from its read-only
// folder by another user and by root. Skipped while there is no package.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <unistd.h>

#include "fakes/BankFixture.h"
#include "fakes/Servers.h"
#include "game/Site.h"

namespace fs = std::filesystem;
using namespace wd::test;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kPackage = WD_PACKAGE_FILE, kBankPackage = WD_BANK_PACKAGE_FILE, kGame = fs::path("usr") / WD_INSTALL_GAME_DIR,
               kLauncher = fs::path("usr") / WD_PACKAGE_BINDIR / "wendingwuguan", kTool = "usr/bin/wending-bank";

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// The game's and the question-file tool's packages unpacked as dpkg lays them
// out, in a fresh folder any user may read.
class Package : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(root_, fs::perms(0755));
        for (const fs::path& package : {kPackage, kBankPackage}) {
            WD_REQUIRE_PART(fs::exists(package) ? QString() : Q(package) + " is missing: run bash scripts/package.sh");
            ASSERT_EQ(Execute({"dpkg-deb", "-x", Q(package), Q(root_)}).first, 0);
        }
    }
    bool PlayGame(const fs::path& program, bool asNobody);

    QTemporaryDir dir_;
    const fs::path root_ = dir_.path().toStdString();
};

} // namespace

// The game's package, and beside it the tool's for the site's maintainers.
TEST_F(Package, HoldTheGameItsLauncherEntryMetainfoIconsAndTheToolWithDebiansFieldsAndPassLintian)
{
    const std::string share = "usr/share/", doc = share + "doc/" WD_PACKAGE_NAME "/", bankDoc = share + "doc/" WD_BANK_PACKAGE_NAME "/";
    std::set<std::string> expected = {kLauncher.string(), (kGame / "wendingwuguan").string(), (kGame / "wending.bin").string(),
                                      share + "applications/" + kId + ".desktop", share + "metainfo/" + kId + ".metainfo.xml",
                                      doc + "copyright", doc + "changelog.gz", share + "man/man6/wendingwuguan.6.gz",
                                      kTool.string(), bankDoc + "copyright", bankDoc + "changelog.gz", share + "man/man1/wending-bank.1.gz"};
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

    // The menu shows the game's icon (lintian finds a command not in the package).
    const QString entry = QString::fromUtf8(ReadFile(Q(root_ / share / "applications" / (kId + ".desktop"))));
    EXPECT_TRUE(entry.split(u'\n').contains("Icon=" + QString::fromStdString(kId))) << entry.toStdString();

    // A Wayland desktop gets Qt's plugin for it; the tool goes well with the game. (Lintian finds
    // a library that the programs use and the package does not depend on.)
    for (const auto& [package, name, section, also] : {std::tuple{kPackage, WD_PACKAGE_NAME, "games", "Recommends: qt6-wayland"},
                                                      std::tuple{kBankPackage, WD_BANK_PACKAGE_NAME, "utils", "Suggests: " WD_PACKAGE_NAME}}) {
        const QString control = Execute({"dpkg-deb", "--field", Q(package)}).second;
        for (const QString& field : QStringList{"Package: " + QString::fromLatin1(name), "Version: " WD_VERSION, "Architecture: " WD_DEB_ARCH,
                                                "Section: " + QString::fromLatin1(section), "Homepage: " + wd::site::HomeAddress(), QString::fromLatin1(also)})
            EXPECT_TRUE(control.split(u'\n').contains(field)) << field.toStdString() << " not in " << control.toStdString();
    }
    // Nothing to report, and nothing hidden by an override.
    const auto [code, lintian] =
        Execute({"lintian", "--display-info", "--fail-on", "error,warning", Q(kPackage), Q(kBankPackage)}, true, 120000);
    EXPECT_EQ(code, 0) << lintian.toStdString();
    EXPECT_FALSE(lintian.contains(QStringLiteral("-override"))) << lintian.toStdString();
}

// Software centres take its metainfo as it is.
TEST_F(Package, ItsMetainfoValidates)
{
    const auto [code, says] = Execute({"appstreamcli", "validate", "--no-net", Q(root_ / "usr/share/metainfo" / (kId + ".metainfo.xml"))}, true);
    EXPECT_EQ(code, 0) << says.toStdString();
}

// Debian's copyright file says what the files' own REUSE data says.
TEST_F(Package, TheirCopyrightFileGivesTheGplForAllButTheMetainfoWhichIsCc0)
{
    const QString copyright = QString::fromUtf8(ReadFile(Q(root_ / "usr/share/doc" / WD_PACKAGE_NAME / "copyright")));
    EXPECT_EQ(ReadFile(Q(root_ / "usr/share/doc" / WD_BANK_PACKAGE_NAME / "copyright")), copyright.toUtf8());
    const QString holder = QStringLiteral("Copyright: 2026 %1 <%2>\n").arg(QString::fromUtf16(wd::site::kName), QLatin1String(wd::site::kContact));
    for (const QString& paragraph : {"\n\nFiles: *\n" + holder + "License: GPL-3.0-or-later\n\n",
                                     "\n\nFiles: data/desktop/app.metainfo.xml.in\n" + holder + "License: CC0-1.0\n\n",
                                     QStringLiteral("\n\nLicense: GPL-3.0-or-later\n This program is free software"),
                                     QStringLiteral("License version 3 can be found in \"/usr/share/common-licenses/GPL-3\".\n"),
                                     QStringLiteral("\n\nLicense: CC0-1.0\n To the extent possible under law"),
                                     QStringLiteral("can be found in \"/usr/share/common-licenses/CC0-1.0\".\n")})
        EXPECT_TRUE(copyright.contains(paragraph)) << paragraph.toStdString() << " not in\n" << copyright.toStdString();
    EXPECT_EQ(copyright.count(QStringLiteral("\nFiles: ")), 2) << copyright.toStdString();
}

TEST_F(Package, ItsManualPagesRenderWithoutAWarning)
{
    for (const auto& [page, name] : {std::pair{"man6/wendingwuguan.6.gz", "wendingwuguan - 问鼎五关, a fill-in-the-blank quiz"},
                                     std::pair{"man1/wending-bank.1.gz", "wending-bank - build and check the question file"}}) {
        const auto [code, text] =
            Execute({"env", "LC_ALL=C.UTF-8", "MANWIDTH=200", "man", "--warnings", "-l", Q(root_ / "usr/share/man" / page)}, true);
        EXPECT_EQ(code, 0) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("warning"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << page << ": " << text.left(2000).toStdString();
    }
}

TEST_F(Package, ItsQuestionFileToolFindsItsQuestionFileClean)
{
    const QString bank = Q(root_ / kGame / "wending.bin");
    const auto [code, says] = Execute({Q(root_ / kTool), "check", bank}, true);
    EXPECT_TRUE(code == 0 && says.split(u'\n').contains(bank + ": ok")) << code << ": " << says.toStdString();
}

// Plays a short game with the keys of an X server of the test's own: `program`
// with a home of its own, as nobody when `asNobody` and we are root, else as
// whoever runs the tests (root in CI). It signs in, starts the level, takes a
// pass and an easy question (each marks its question played), quits and
// confirms. Whether the game then ended by itself.
bool Package::PlayGame(const fs::path& program, bool asNobody)
{
    ServerGroup x;
    EXPECT_TRUE(x.StartX()) << "no Xvfb with an xauth cookie (scripts/setup.sh installs both)";
    const fs::path home = root_ / (asNobody ? "nobody" : "home"), cookie = home / ".Xauthority";
    fs::create_directory(home);
    fs::copy_file(x.Path("xauth").toStdString(), cookie, fs::copy_options::overwrite_existing);
    asNobody = asNobody && geteuid() == 0;
    EXPECT_TRUE(!asNobody || (chown(home.c_str(), 65534, 65534) == 0 && chown(cookie.c_str(), 65534, 65534) == 0));
    QStringList command{"env", "-i", "QT_QPA_PLATFORM=xcb", "DISPLAY=" + qEnvironmentVariable("DISPLAY"), "HOME=" + Q(home),
                        "PATH=/usr/bin:/bin", Q(program)};
    if (asNobody) command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + command;
    QProcess player;
    player.start(command.takeFirst(), command);
    // Each window it shows takes the keyboard: the start screen's id box, the
    // quiz screen's start button (then the buttons' keys), the question whether to leave.
    std::set<unsigned long> seen{0}; // no window
    const auto next = [&] { return Soon([&] { return seen.insert(XFocus()).second; }); };
    // Then it ends by itself (one still running is ended with its QProcess).
    return next() && XType("t e s t e r Return") && next() && XType("space Alt_L+p Alt_L+e Alt_L+q") && next() && XType("Return")
        && player.waitForFinished(20000) && player.exitStatus() == QProcess::NormalExit && player.exitCode() == 0;
}

// Whoever starts it by the launcher the menu runs, root, who may write
// anywhere, or nobody (when we are root), from a folder nobody may write in, the
// installed game plays from its question file, keeps the played marks in
// memory and changes no file of its install.
TEST_F(Package, AnInstalledGameChangesNoFileOfItsInstallWhoeverPlaysIt)
{
    // As dpkg --verify does: each file against the sum the package gives it.
    ASSERT_EQ(Execute({"dpkg-deb", "--control", Q(kPackage), Q(root_ / "DEBIAN")}).first, 0);
    EXPECT_TRUE(PlayGame(root_ / kLauncher, /*asNobody=*/false));
    const auto [code, changed] = Execute({"env", "-C", Q(root_), "md5sum", "--check", "--quiet", "DEBIAN/md5sums"}, true);
    EXPECT_EQ(code, 0) << changed.toStdString(); // md5sum names each file that changed
    EXPECT_TRUE(PlayGame(root_ / kLauncher, /*asNobody=*/true));
}

// The same game in a build folder (marked by build-folder.txt, which the build
// writes beside its game, and only there) keeps the played marks in its own
// question file: the pass's question and the easy one.
TEST_F(Package, AGameInABuildFolderMarksItsQuestionFile)
{
    const fs::path build = root_ / "build";
    fs::copy(root_ / kGame, build, fs::copy_options::recursive);
    std::ofstream(build / "build-folder.txt") << "a build folder\n";
    EXPECT_TRUE(PlayGame(build / "wendingwuguan", /*asNobody=*/false));
    const char* played = "select (select count(*) from question where played=1) || (select count(*) from easy where played=1)";
    EXPECT_EQ(BankFixture::Query(build / "wending.bin", played), std::vector<QStringList>{{QStringLiteral("11")}});
    EXPECT_TRUE(fs::exists(fs::path(WD_GAME_DIR) / "build-folder.txt"));
}
