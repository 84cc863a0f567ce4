// The build installed into a fresh prefix, as a desktop gets it, and the
// Debian package made by scripts/package.sh: the same files under /usr,
// Debian's fields, lintian, and its game started by another user from its
// read-only folder without touching anything there.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <filesystem>
#include <set>
#include <string>

#include <sys/inotify.h>
#include <unistd.h>

#include "game/Site.h"
#include "ui/ProgramIcon.xpm"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kGameDir = WD_INSTALL_GAME_DIR, kBinDir = WD_INSTALL_BINDIR, kPackage = WD_PACKAGE_FILE;

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

QByteArray Bytes(const fs::path& file)
{
    QFile f(Q(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Files and links under a folder, relative to it.
std::set<std::string> Files(const fs::path& folder)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory() || e.is_symlink()) files.insert(e.path().lexically_relative(folder).string());
    return files;
}

// The build installed under a fresh folder in /tmp that any user may read.
class Installed : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wd-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::permissions(root_, fs::perms(0755));
        const mode_t before = umask(022); // an installer's usual umask, whatever this test runs under
        const auto [code, output] = Execute(QStringLiteral(WD_CMAKE_COMMAND),
                                            {"--install", WD_BUILD_DIR, "--component", "game", "--prefix", Q(Prefix())});
        umask(before);
        ASSERT_EQ(code, 0) << output.toStdString();
    }
    void TearDown() override
    {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(root_, ec))
            if (!e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    fs::path Prefix() const { return root_ / "prefix"; }
    // The package unpacked as dpkg lays it out; skips the test when
    // scripts/package.sh has not made it (CI always makes it first).
    fs::path Unpacked()
    {
        if (!fs::exists(kPackage)) {
            if (std::getenv("CI")) ADD_FAILURE() << kPackage << " is missing: run bash scripts/package.sh";
            return {};
        }
        const auto [code, output] = Execute(QStringLiteral("dpkg-deb"), {"-x", Q(kPackage), Q(root_ / "package")});
        EXPECT_EQ(code, 0) << output.toStdString();
        return root_ / "package";
    }

    fs::path root_;
};

} // namespace

TEST_F(Installed, TheGameItsLauncherAValidDesktopEntryAndMetainfoAndTheIconsAndNothingElse)
{
    const fs::path data = Prefix() / WD_INSTALL_DATADIR, entry = data / "applications" / (kId + ".desktop");
    const fs::path metainfo = data / "metainfo" / (kId + ".metainfo.xml");
    std::set<std::string> expected = {(kBinDir / "wendingwuguan").string(), (kGameDir / "wendingwuguan").string(),
                                      (kGameDir / "wending.bin").string(), "share/applications/" + kId + ".desktop",
                                      "share/metainfo/" + kId + ".metainfo.xml"};
    for (const char* movie : {"1", "2", "3", "4", "5", "bantou", "noend", "explore", "baobao"})
        expected.insert((kGameDir / "swf" / (std::string(movie) + ".swf")).string());
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string icon = "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" + kId + ".png";
        expected.insert(icon);
        const QImage image = QImage(Q(Prefix() / icon)).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.size(), QSize(size, size));
        if (size <= 32) {
            EXPECT_EQ(image, QImage(size == 16 ? kIcon16 : kIcon32).convertToFormat(QImage::Format_RGB32));
        }
    }
    EXPECT_EQ(Files(Prefix()), expected);
    const fs::path launcher = Prefix() / kBinDir / "wendingwuguan";
    EXPECT_TRUE(fs::read_symlink(launcher).is_relative());
    EXPECT_TRUE(fs::equivalent(launcher, Prefix() / kGameDir / "wendingwuguan"));
    EXPECT_EQ(Bytes(Prefix() / kGameDir / "wending.bin"), Bytes(fs::path(WD_BUILD_DIR) / "wending.bin"));

    // The menu shows the game's name and icon and starts the launcher from bin/.
    const QStringList lines = QString::fromUtf8(Bytes(entry)).split(u'\n');
    for (const QString& line : QStringList{"Name=问鼎五关", "Exec=wendingwuguan", "Icon=" + QString::fromStdString(kId)})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    for (const QStringList& check : {QStringList{"desktop-file-validate", Q(entry)}, QStringList{"appstreamcli", "validate", "--no-net", Q(metainfo)}}) {
        const QString tool = QStandardPaths::findExecutable(check[0]);
        if (tool.isEmpty()) GTEST_SKIP() << check[0].toStdString() << " is missing";
        const auto [code, output] = Execute(tool, check.mid(1));
        EXPECT_EQ(code, 0) << output.toStdString();
    }
}

TEST_F(Installed, ThePackageHoldsTheInstallUnderUsrWithDebiansFieldsAndPassesLintian)
{
    const fs::path root = Unpacked();
    if (root.empty()) GTEST_SKIP() << kPackage << " is missing: run bash scripts/package.sh";
    // The launcher among the games, and the documents Debian asks of every package.
    const std::string doc = "usr/share/doc/" WD_PACKAGE_NAME "/";
    std::set<std::string> expected = {doc + "copyright", doc + "changelog.gz", "usr/share/lintian/overrides/" WD_PACKAGE_NAME};
    for (const fs::path file : Files(Prefix()))
        expected.insert((fs::path("usr") / (*file.begin() == kBinDir ? WD_PACKAGE_BINDIR / file.filename() : file)).string());
    EXPECT_EQ(Files(root), expected);

    const auto [code, control] = Execute(QStringLiteral("dpkg-deb"), {"--field", Q(kPackage)});
    for (const QString& field : QStringList{"Package: " WD_PACKAGE_NAME, "Version: " WD_VERSION, "Architecture: " WD_DEB_ARCH,
                                "Section: games", "Homepage: " + wd::site::HomeAddress()})
        EXPECT_TRUE(control.split(u'\n').contains(field)) << field.toStdString() << " not in " << control.toStdString();
    // The font, the browser opener and Qt's translations by hand; the libraries from dpkg-shlibdeps.
    const QString depends = QRegularExpression(QStringLiteral("^Depends: (.*)$"), QRegularExpression::MultilineOption).match(control).captured(1);
    for (const char* package : {"fonts-wqy-microhei", "xdg-utils", "qt6-translations-l10n", "libpulse0", "libsqlite3-0"})
        EXPECT_TRUE(QRegularExpression(QStringLiteral("(^|[ ,|])%1( |,|$)").arg(QLatin1String(package))).match(depends).hasMatch())
            << package << " not in " << depends.toStdString();
    // lintian applies the overrides the package ships; every one must still be needed.
    const auto [lintianCode, lintian] = Execute(QStringLiteral("lintian"), {"--display-info", "--fail-on", "error,warning", Q(kPackage)});
    EXPECT_EQ(lintianCode, 0) << lintian.toStdString();
    EXPECT_FALSE(lintian.contains(QStringLiteral("-override"))) << lintian.toStdString();
}

TEST_F(Installed, ThePackagedGameStartsAsAnotherUserFromItsReadOnlyFolderAndWritesNothingThere)
{
    const fs::path root = Unpacked();
    if (root.empty()) GTEST_SKIP() << kPackage << " is missing: run bash scripts/package.sh";
    const fs::path game = root / "usr" / kGameDir;
    const QByteArray bankBefore = Bytes(game / "wending.bin");
    ASSERT_FALSE(bankBefore.isEmpty());
    // A system install: nobody may write in the game's files; a home the player owns.
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (!e.is_symlink()) fs::permissions(e.path(), write, fs::perm_options::remove);
    fs::permissions(root, write, fs::perm_options::remove);
    const fs::path home = root_ / "home";
    fs::create_directory(home);
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(chown(home.c_str(), 65534, 65534), 0);
    }

    // What the game opens and changes in its folder and the movie folder.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const auto changed = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_TO;
    const int folder = inotify_add_watch(watch, game.c_str(), IN_OPEN | changed);
    ASSERT_GE(inotify_add_watch(watch, (game / "swf").c_str(), IN_OPEN | changed), 0);
    ASSERT_GE(folder, 0);
    std::set<std::string> opened, changes;
    const auto readEvents = [&] {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
                const auto* ev = reinterpret_cast<const inotify_event*>(p);
                const std::string name = (ev->wd == folder ? "" : "swf/") + std::string(ev->len ? ev->name : "");
                if (ev->mask & IN_OPEN) opened.insert(name);
                if (ev->mask & changed) changes.insert(name);
            }
    };

    // Started by the launcher the menu runs, as nobody when we are root. Qt's
    // painting log tells when the start screen has been drawn and shown.
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.widgets.painting=true"));
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("HOME"), Q(home));
    QProcess player;
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(Q(home));
    const QString launcher = Q(root / "usr" / WD_PACKAGE_BINDIR / "wendingwuguan");
    if (asRoot) player.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", "--", launcher});
    else player.start(launcher, {});
    ASSERT_TRUE(player.waitForStarted(10000));
    const QRegularExpression shownLine(QStringLiteral("Flushing QRegion\\(\\S+ \\S+\\) of wd::FrmStart\\("));
    QString log;
    QElapsedTimer clock;
    clock.start();
    while (player.state() == QProcess::Running && clock.elapsed() < 60000
           && !(shownLine.match(log).hasMatch() && opened.count("wending.bin") && opened.count("swf/bantou.swf"))) {
        player.waitForReadyRead(100);
        log += QString::fromUtf8(player.readAllStandardError());
        readEvents();
    }
    EXPECT_EQ(player.state(), QProcess::Running) << "the game ended early: " << log.right(2000).toStdString();
    player.kill();
    player.waitForFinished(10000);
    readEvents();
    close(watch);
    EXPECT_TRUE(shownLine.match(log).hasMatch()) << "no start screen shown: " << log.right(2000).toStdString();
    EXPECT_EQ(opened.count("wending.bin") + opened.count("swf/bantou.swf"), 2u) << "the question file or the start movie was not opened";
    EXPECT_TRUE(changes.empty()) << "written: " << *changes.begin();
    EXPECT_EQ(Bytes(game / "wending.bin"), bankBefore);
}
