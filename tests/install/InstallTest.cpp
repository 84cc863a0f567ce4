// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Debian package that scripts/package.sh makes from the build's install
// rules (scripts/test.sh makes it first): its files, Debian's fields, lintian
// (which also checks the desktop entry and the metainfo), its copyright file,
// manual pages and question-file tool, and games played from its read-only
// folder by another user and by root. Skipped while there is no package.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/BankFixture.h"
#include "fakes/Servers.h"
#include "game/Site.h"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kPackage = WD_PACKAGE_FILE, kBankPackage = WD_BANK_PACKAGE_FILE, kGame = fs::path("usr") / WD_INSTALL_GAME_DIR,
               kLauncher = fs::path("usr") / WD_PACKAGE_BINDIR / "wendingwuguan", kTool = "usr/bin/wending-bank";

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

QByteArray Bytes(const fs::path& file)
{
    QFile f(Q(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Exit code (-1 if it did not start or crashed) and output.
std::pair<int, QString> Execute(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ran = p.waitForStarted(10000) && p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
    return {ran ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

// The game's and the question-file tool's packages unpacked as dpkg lays them
// out, in a fresh folder any user may read.
class Package : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(root_, fs::perms(0755));
        for (const fs::path& package : {kPackage, kBankPackage}) {
            if (!fs::exists(package)) {
                if (std::getenv("CI")) FAIL() << package << " is missing"; // CI always makes it first
                GTEST_SKIP() << package << " is missing: run bash scripts/package.sh";
            }
            ASSERT_EQ(Execute(QStringLiteral("dpkg-deb"), {"-x", Q(package), Q(root_)}).first, 0);
        }
    }
    void TearDown() override { EXPECT_EQ(std::system(("chmod -R u+w " + root_.string()).c_str()), 0); }
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

    // The menu shows the game's name and icon and starts the launcher.
    QFile entry(Q(root_ / share / "applications" / (kId + ".desktop")));
    const QStringList lines = entry.open(QIODevice::ReadOnly) ? QString::fromUtf8(entry.readAll()).split(u'\n') : QStringList();
    for (const QString& line : QStringList{"Name=问鼎五关", "Exec=wendingwuguan", "Icon=" + QString::fromStdString(kId)})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();

    // The font, the browser opener and Qt's translations by hand; the libraries from dpkg-shlibdeps.
    // The tool, no game, measures the questions in the game's fonts.
    // A Wayland desktop gets Qt's plugin for it; the tool goes well with the game.
    for (const auto& [package, name, section, also, depends] :
         {std::tuple{kPackage, WD_PACKAGE_NAME, "games", "Recommends: qt6-wayland",
                     QStringList{"fonts-wqy-microhei", "xdg-utils", "qt6-translations-l10n", "libpulse0", "libsqlite3-0"}},
          std::tuple{kBankPackage, WD_BANK_PACKAGE_NAME, "utils", "Suggests: " WD_PACKAGE_NAME, QStringList{"fonts-wqy-microhei", "libsqlite3-0"}}}) {
        const QString control = Execute(QStringLiteral("dpkg-deb"), {"--field", Q(package)}).second;
        for (const QString& field : QStringList{"Package: " + QString::fromLatin1(name), "Version: " WD_VERSION, "Architecture: " WD_DEB_ARCH,
                                                "Section: " + QString::fromLatin1(section), "Homepage: " + wd::site::HomeAddress(), QString::fromLatin1(also)})
            EXPECT_TRUE(control.split(u'\n').contains(field)) << field.toStdString() << " not in " << control.toStdString();
        for (const QString& dependency : depends)
            EXPECT_TRUE(control.contains(QRegularExpression(QStringLiteral("\nDepends: (.*[ ,|])?%1( |,|\n)").arg(dependency))))
                << dependency.toStdString() << " not in " << control.toStdString();
    }
    // Nothing to report, and nothing hidden by an override.
    const auto [code, lintian] = Execute(QStringLiteral("lintian"), {"--display-info", "--fail-on", "error,warning", Q(kPackage), Q(kBankPackage)});
    EXPECT_EQ(code, 0) << lintian.toStdString();
    EXPECT_FALSE(lintian.contains(QStringLiteral("-override"))) << lintian.toStdString();
}

// Software centres show the README's pictures from the site.
TEST_F(Package, ItsMetainfoValidatesAndShowsTheReadmesScreenshotsFromTheSite)
{
    const fs::path metainfo = root_ / "usr/share/metainfo" / (kId + ".metainfo.xml");
    const auto [code, says] = Execute(QStringLiteral("appstreamcli"), {"validate", "--no-net", Q(metainfo)});
    EXPECT_EQ(code, 0) << says.toStdString();
    const QRegularExpression image(QStringLiteral("<image>([^<]*/)([^/<]+)</image>"));
    QStringList shown;
    for (const auto& m : image.globalMatch(QString::fromUtf8(Bytes(metainfo)))) {
        EXPECT_EQ(m.captured(1), wd::site::PageAddress("/wendingwuguan/screenshots/"));
        EXPECT_TRUE(fs::exists(fs::path(WD_SOURCE_DIR "/docs/screenshots") / m.captured(2).toStdString())) << m.captured(2).toStdString();
        shown << m.captured(2);
    }
    EXPECT_EQ(shown.size(), 7) << shown.join(u' ').toStdString();
}

// Debian's copyright file says what the files' own REUSE data says.
TEST_F(Package, TheirCopyrightFileGivesTheGplForAllButTheMetainfoWhichIsCc0)
{
    const QString copyright = QString::fromUtf8(Bytes(root_ / "usr/share/doc" / WD_PACKAGE_NAME / "copyright"));
    EXPECT_EQ(Bytes(root_ / "usr/share/doc" / WD_BANK_PACKAGE_NAME / "copyright"), copyright.toUtf8());
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
        const auto [code, text] = Execute(QStringLiteral("env"), {"LC_ALL=C.UTF-8", "MANWIDTH=200", "man", "--warnings", "-l",
                                                                  Q(root_ / "usr/share/man" / page)});
        EXPECT_EQ(code, 0) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("warning"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << page << ": " << text.left(2000).toStdString();
    }
}

TEST_F(Package, ItsQuestionFileToolFindsItsQuestionFileClean)
{
    const fs::path bank = root_ / kGame / "wending.bin";
    const auto [code, says] = Execute(Q(root_ / kTool), {"check", Q(bank)});
    EXPECT_EQ(code, 0) << says.toStdString();
    EXPECT_TRUE(says.split(u'\n').contains(Q(bank) + QStringLiteral(": ok"))) << says.toStdString();
}

// Plays a short game with the mouse and keys of an X server of the test's own:
// `program` with a home of its own, as nobody when `asNobody` and we are root,
// else as whoever runs the tests (root in CI). It signs in, starts the level,
// takes a pass and an easy question (each marks its question played), quits
// and confirms. Whether the game then ended by itself.
bool Package::PlayGame(const fs::path& program, bool asNobody)
{
    QTemporaryDir auth;
    const pid_t x = wd::test::StartXServer(QFile::encodeName(auth.filePath(QStringLiteral("auth"))).toStdString());
    EXPECT_GT(x, 0) << "could not start Xvfb with an xauth cookie (scripts/setup.sh installs both)";
    const fs::path home = root_ / "home", cookie = home / ".Xauthority";
    fs::create_directory(home);
    fs::copy_file(qEnvironmentVariable("XAUTHORITY").toStdString(), cookie, fs::copy_options::overwrite_existing);
    asNobody = asNobody && geteuid() == 0;
    EXPECT_TRUE(!asNobody || (chown(home.c_str(), 65534, 65534) == 0 && chown(cookie.c_str(), 65534, 65534) == 0));
    QStringList command{"env", "-i", "QT_QPA_PLATFORM=xcb", "DISPLAY=" + qEnvironmentVariable("DISPLAY"), "HOME=" + Q(home),
                        "PATH=/usr/bin:/bin", Q(program)};
    if (asNobody) command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + command;
    QProcess player;
    player.start(command.takeFirst(), command);
    // The next window it shows; its controls lie where its layout table puts them, 15 twips a pixel.
    QStringList seen;
    const auto next = [&] {
        QElapsedTimer clock;
        for (clock.start(); player.waitForStarted(10000) && clock.elapsed() < 20000; QThread::msleep(100))
            for (const QString& w : Execute(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(player.processId())})
                                        .second.split(u'\n', Qt::SkipEmptyParts))
                if (!seen.contains(w)) return seen << w, w;
        return QString();
    };
    const auto xdotool = [](const QStringList& arguments) { Execute(QStringLiteral("xdotool"), arguments); };
    const auto click = [&](const QString& window, QRect twips) {
        xdotool({"mousemove", "--window", window, QString::number(twips.center().x() / 15), QString::number(twips.center().y() / 15),
                 "click", "1"});
    };
    // Keys go through the keyboard to the window that has the focus (a key
    // command that names a window sends an event the game rightly ignores).
    click(next(), {1710, 1440, 1500, 360}); // TxtUserId
    xdotool({"type", "tester"});
    xdotool({"key", "Return"});
    const QString quiz = next();
    for (const QRect button : {QRect(2280, 1425, 2790, 675), QRect(2115, 2580, 1365, 390), QRect(3585, 2580, 1300, 390),
                               QRect(4995, 3075, 1125, 390)}) // CmdStart, CmdPass, CmdEasy, Cmdquit
        click(quiz, button);
    click(next(), {}); // the question whether to leave, OK
    xdotool({"key", "Return"});
    const bool ended = player.waitForFinished(20000) && player.exitStatus() == QProcess::NormalExit && player.exitCode() == 0;
    player.kill();
    player.waitForFinished(10000);
    kill(x, SIGTERM);
    waitpid(x, nullptr, 0);
    return ended;
}

// Started by the launcher the menu runs, as nobody when we are root, from a
// folder nobody may write in, it plays from its question file.
TEST_F(Package, ItsGameIsPlayedByAnotherUserFromItsReadOnlyFolder)
{
    ASSERT_EQ(std::system(("chmod -R a-w " + (root_ / "usr").string()).c_str()), 0);
    EXPECT_TRUE(PlayGame(root_ / kLauncher, /*asNobody=*/true));
}

// Played by whoever may write its folder, root included, the installed game
// keeps the played marks in memory and changes no file of its install; the
// same game in a build folder (marked by build-folder.txt, which the build
// writes) keeps them in its own file.
TEST_F(Package, AGamePlayedByRootChangesNoFileOfTheInstallButMarksTheQuestionFileOfABuildFolder)
{
    const fs::path build = root_ / "build";
    fs::copy(root_ / kGame, build, fs::copy_options::recursive);
    std::ofstream(build / "build-folder.txt") << "a build folder\n";
    const auto files = [this] {
        std::map<std::string, std::string> sums;
        for (const auto& e : fs::recursive_directory_iterator(root_ / kGame))
            sums[e.path().lexically_relative(root_).string()] =
                QCryptographicHash::hash(Bytes(e.path()), QCryptographicHash::Sha256).toHex().left(16).toStdString();
        return sums;
    };
    const auto before = files();
    EXPECT_TRUE(PlayGame(root_ / kLauncher, /*asNobody=*/false));
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(PlayGame(build / "wendingwuguan", /*asNobody=*/false));
    for (const char* sql : {"select count(*) from question where played=1", "select count(*) from easy where played=1"})
        EXPECT_EQ(wd::test::BankFixture::Query(build / "wending.bin", sql), std::vector<QStringList>{{QStringLiteral("1")}}) << sql;
    EXPECT_TRUE(fs::exists(fs::path(WD_GAME_DIR) / "build-folder.txt"));
}
