// Installs the current build into a fresh prefix and checks what a desktop
// and a player get: the game folder, the launcher, the desktop entry, the
// icons, the metainfo. The Debian package holds the same files under /usr,
// passes lintian, and its game starts from a read-only folder owned by
// someone else without touching its question file.
#include <gtest/gtest.h>

#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/inotify.h>
#include <unistd.h>

#include "game/Site.h"
#include "ui/ProgramIcon.xpm"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kGameDir = WD_INSTALL_GAME_DIR, kBinDir = WD_INSTALL_BINDIR, kDataDir = WD_INSTALL_DATADIR;
const fs::path kPackage = WD_PACKAGE_FILE;
const int kIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr uid_t kNobody = 65534;

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// Exit code (-1 if it did not start or crashed) and output.
std::pair<int, QString> Execute(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForStarted(10000)) return {-1, program + QStringLiteral(" did not start")};
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QByteArray Bytes(const fs::path& file)
{
    QFile f(Q(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int Colours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return colours.size();
}

// A fresh install prefix under /tmp that any user may read and traverse.
class InstalledGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wd-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::permissions(root_, fs::perms(0755));
        prefix_ = root_ / "prefix";
        // An installer's usual umask, whatever this test runs under. The component
        // keeps the build's own install_manifest.txt from being overwritten.
        const mode_t umaskBefore = umask(022);
        const auto [code, output] = Execute(QStringLiteral(WD_CMAKE_COMMAND),
                                            {"--install", WD_BUILD_DIR, "--component", "game", "--prefix", Q(prefix_)});
        umask(umaskBefore);
        ASSERT_EQ(code, 0) << output.toStdString();
    }
    void TearDown() override
    {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(root_, ec))
            if (!e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    fs::path Game() const { return prefix_ / kGameDir; }
    fs::path Data(const std::string& rest) const { return prefix_ / kDataDir / rest; }
    fs::path Icon(int size) const
    {
        const std::string side = std::to_string(size);
        return Data("icons/hicolor/" + side + "x" + side + "/apps/" + kId + ".png");
    }
    fs::path Entry() const { return Data("applications/" + kId + ".desktop"); }
    fs::path Metainfo() const { return Data("metainfo/" + kId + ".metainfo.xml"); }
    std::string Relative(const fs::path& p) const { return p.lexically_relative(prefix_).string(); }

    // The package unpacked as dpkg would lay it out, or an empty path when
    // scripts/package.sh has not made it (CI always makes it first).
    fs::path Unpacked()
    {
        if (!fs::exists(kPackage)) {
            if (std::getenv("CI")) ADD_FAILURE() << kPackage << " is missing: run bash scripts/package.sh";
            return {};
        }
        const fs::path root = root_ / "package";
        const auto [code, output] = Execute(QStringLiteral("dpkg-deb"), {"-x", Q(kPackage), Q(root)});
        EXPECT_EQ(code, 0) << output.toStdString();
        return code == 0 ? root : fs::path();
    }

    fs::path root_, prefix_;
};

// Files and links under a folder, relative to it.
std::set<std::string> Files(const fs::path& folder)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory() || e.is_symlink()) files.insert(e.path().lexically_relative(folder).string());
    return files;
}

QString Key(const fs::path& entry, const QString& key)
{
    for (const QString& line : QString::fromUtf8(Bytes(entry)).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    return {};
}

// The components that the build's install scripts know.
std::set<std::string> InstallComponents()
{
    std::set<std::string> components;
    const QRegularExpression rule(QStringLiteral("CMAKE_INSTALL_COMPONENT STREQUAL \"([^\"]*)\""));
    std::error_code ec;
    for (fs::recursive_directory_iterator it(WD_BUILD_DIR, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().filename() != "cmake_install.cmake") continue;
        for (auto m = rule.globalMatch(QString::fromUtf8(Bytes(it->path()))); m.hasNext();)
            components.insert(m.next().captured(1).toStdString());
    }
    return components;
}

} // namespace

TEST_F(InstalledGame, InstallsTheGameFolderLauncherEntryIconsAndMetainfoAndNothingElse)
{
    std::set<std::string> expected = {(kBinDir / "wendingwuguan").string(), (kGameDir / "wendingwuguan").string(),
                                      (kGameDir / "wending.bin").string(), Relative(Entry()), Relative(Metainfo())};
    for (int size : kIconSizes) expected.insert(Relative(Icon(size)));
    int movies = 0;
    for (const auto& e : fs::directory_iterator(fs::path(WD_BUILD_DIR) / "swf"))
        if (e.path().extension() == ".swf") movies += expected.insert((kGameDir / "swf" / e.path().filename()).string()).second;
    EXPECT_EQ(movies, 9);
    // No tests, tools or benchmarks, and no install rule outside the game's component.
    EXPECT_EQ(Files(prefix_), expected);
    EXPECT_EQ(InstallComponents(), std::set<std::string>{"game"});

    const fs::path launcher = prefix_ / kBinDir / "wendingwuguan";
    ASSERT_TRUE(fs::is_symlink(launcher));
    EXPECT_TRUE(fs::read_symlink(launcher).is_relative()) << fs::read_symlink(launcher);
    EXPECT_TRUE(fs::equivalent(launcher, Game() / "wendingwuguan"));
    EXPECT_EQ(fs::status(Game() / "wendingwuguan").permissions() & fs::perms::others_exec, fs::perms::others_exec);
    EXPECT_FALSE(Bytes(Game() / "wending.bin").isEmpty());
    EXPECT_EQ(Bytes(Game() / "wending.bin"), Bytes(fs::path(WD_BUILD_DIR) / "wending.bin"));
}

TEST_F(InstalledGame, DesktopEntryAndMetainfoPassTheirValidatorsAndNameTheInstalledFiles)
{
    const QString dfv = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString asc = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (dfv.isEmpty() || asc.isEmpty()) GTEST_SKIP() << "desktop-file-validate or appstreamcli is missing";
    const auto [entryCode, entryOutput] = Execute(dfv, {Q(Entry())});
    EXPECT_EQ(entryCode, 0) << entryOutput.toStdString();
    EXPECT_TRUE(entryOutput.trimmed().isEmpty()) << entryOutput.toStdString();
    const auto [metaCode, metaOutput] = Execute(asc, {"validate", "--no-net", Q(Metainfo())});
    EXPECT_EQ(metaCode, 0) << metaOutput.toStdString();

    EXPECT_EQ(Key(Entry(), "Name"), QStringLiteral("问鼎五关"));
    EXPECT_EQ(Key(Entry(), "Name[en]"), QStringLiteral("WenDingWuGuan"));
    // The menu starts the launcher by name from bin/ and shows the theme icon.
    EXPECT_TRUE(fs::exists(prefix_ / kBinDir / Key(Entry(), "Exec").toStdString())) << Key(Entry(), "Exec").toStdString();
    EXPECT_EQ(Key(Entry(), "Icon").toStdString(), kId);
    EXPECT_TRUE(Key(Entry(), "Categories").split(QLatin1Char(';')).contains(QStringLiteral("Game")));
    const QString xml = QString::fromUtf8(Bytes(Metainfo()));
    EXPECT_TRUE(xml.contains(QString::fromStdString("<id>" + kId + "</id>")));
    EXPECT_TRUE(xml.contains(QString::fromStdString(">" + kId + ".desktop</launchable>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<release version=\"" WD_VERSION "\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<url type=\"homepage\">") + wd::site::HomeAddress() + QStringLiteral("</url>")));
}

TEST_F(InstalledGame, IconsHaveEverySizeTheSmallOnesBeingTheSixteenColourProgramIcon)
{
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        const QImage icon = QImage(Q(Icon(size))).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size));
        if (size <= 32) {
            const QImage program(size == 16 ? kIcon16 : kIcon32);
            EXPECT_EQ(icon.convertToFormat(QImage::Format_RGB32), program.convertToFormat(QImage::Format_RGB32));
            EXPECT_LE(Colours(icon), 16);
            continue;
        }
        // The painted sizes show the ding on green: bronze in the middle of the
        // bowl, green between the handles, see-through only at the rounded corners.
        const auto at = [&](int x, int y) { return QColor(icon.pixel(x * size / 32, y * size / 32)); };
        const QColor bowl = at(16, 14), ground = at(16, 5);
        EXPECT_TRUE(bowl.red() > bowl.blue() + 40 && bowl.green() > bowl.blue() + 40) << bowl.name().toStdString();
        EXPECT_GT(ground.green(), ground.red() + 60) << ground.name().toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        EXPECT_GT(Colours(icon), 16);
    }
}

TEST_F(InstalledGame, PackageHoldsTheInstallUnderUsrWithDebiansFieldsAndFilesAndPassesLintian)
{
    const fs::path root = Unpacked();
    if (root.empty()) GTEST_SKIP() << kPackage << " is missing: run bash scripts/package.sh";
    // What `cmake --install` lays out, under /usr with the launcher among the
    // games, and the documents Debian asks of every package.
    const std::string doc = "usr/share/doc/" WD_PACKAGE_NAME "/";
    std::set<std::string> expected = {doc + "copyright", doc + "changelog.gz",
                                      "usr/share/lintian/overrides/" WD_PACKAGE_NAME};
    for (const fs::path file : Files(prefix_))
        expected.insert((fs::path("usr") / (*file.begin() == kBinDir ? WD_PACKAGE_BINDIR / file.filename() : file)).string());
    EXPECT_EQ(Files(root), expected);

    const auto [code, control] = Execute(QStringLiteral("dpkg-deb"), {"--field", Q(kPackage)});
    ASSERT_EQ(code, 0) << control.toStdString();
    const auto field = [&](const char* name) {
        const auto m = QRegularExpression(QStringLiteral("^%1: (.*)$").arg(QLatin1String(name)),
                                          QRegularExpression::MultilineOption).match(control);
        return m.captured(1);
    };
    EXPECT_EQ(field("Package"), QStringLiteral(WD_PACKAGE_NAME));
    EXPECT_EQ(field("Version"), QStringLiteral(WD_VERSION));
    EXPECT_EQ(field("Architecture"), QStringLiteral(WD_DEB_ARCH));
    EXPECT_EQ(field("Section"), QStringLiteral("games"));
    EXPECT_EQ(field("Homepage"), wd::site::HomeAddress());
    // The font, the browser opener and Qt's translations by hand; the libraries,
    // the sound server's client among them, from dpkg-shlibdeps.
    for (const char* package : {"fonts-wqy-microhei", "xdg-utils", "qt6-translations-l10n", "libpulse0", "libsqlite3-0"})
        EXPECT_TRUE(QRegularExpression(QStringLiteral("(^|[ ,|])%1( |,|$)").arg(QLatin1String(package))).match(field("Depends")).hasMatch())
            << package << " not in " << field("Depends").toStdString();

    // lintian applies the overrides the package ships; every one must still be needed.
    const auto [lintianCode, lintian] = Execute(QStringLiteral("lintian"), {"--display-info", "--fail-on", "error,warning", Q(kPackage)});
    EXPECT_EQ(lintianCode, 0) << lintian.toStdString();
    EXPECT_FALSE(lintian.contains(QStringLiteral("-override"))) << lintian.toStdString();
}

TEST_F(InstalledGame, PackagedGameStartsAsAnotherUserFromItsReadOnlyFolderAndLeavesTheQuestionFileAlone)
{
    const fs::path root = Unpacked();
    if (root.empty()) GTEST_SKIP() << kPackage << " is missing: run bash scripts/package.sh";
    const fs::path game = root / "usr" / kGameDir, bank = game / "wending.bin";
    const QByteArray bytesBefore = Bytes(bank);
    const auto timeBefore = fs::last_write_time(bank);
    ASSERT_FALSE(bytesBefore.isEmpty());

    // A system install: the files belong to root (or to us) and nobody may write
    // in them; a home the player owns, so that only the game's files are read-only.
    const bool asRoot = geteuid() == 0;
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (!e.is_symlink()) fs::permissions(e.path(), write, fs::perm_options::remove);
    fs::permissions(root, write, fs::perm_options::remove);
    const fs::path home = root_ / "home";
    fs::create_directory(home);
    if (asRoot) {
        ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
    }

    // The game must open its question file and the start screen's movie in the
    // game folder, and never write, make or remove anything there.
    const auto changed = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_TO;
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, game.c_str(), IN_OPEN | changed), 0);
    const int swf = inotify_add_watch(watch, (game / "swf").c_str(), IN_OPEN | changed);
    ASSERT_GE(swf, 0);
    std::set<std::string> opened;
    std::vector<std::string> changes;
    const auto readEvents = [&] {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
                const auto* ev = reinterpret_cast<const inotify_event*>(p);
                const std::string name = (ev->wd == swf ? "swf/" : "") + std::string(ev->len ? ev->name : "");
                if (ev->mask & IN_OPEN) opened.insert(name);
                if (ev->mask & changed) changes.push_back(name);
            }
        }
    };

    // Started by the launcher the menu runs, as nobody when we are root. Qt's
    // painting log tells when the start screen has been drawn and shown.
    const QString launcher = Q(root / "usr" / WD_PACKAGE_BINDIR / "wendingwuguan");
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.widgets.painting=true"));
    env.insert(QStringLiteral("HOME"), Q(home));
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    QProcess player;
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(Q(home));
    if (asRoot)
        player.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", "--", launcher});
    else
        player.start(launcher, {});
    ASSERT_TRUE(player.waitForStarted(10000));
    const QRegularExpression shownLine(QStringLiteral("Flushing QRegion\\(\\S+ \\S+\\) of wd::FrmStart\\("));
    QString log;
    bool shown = false;
    QElapsedTimer clock;
    clock.start();
    while (player.state() == QProcess::Running && clock.elapsed() < 60000
           && !(shown && opened.count("wending.bin") && opened.count("swf/bantou.swf"))) {
        player.waitForReadyRead(100);
        log += QString::fromUtf8(player.readAllStandardError());
        shown = shown || shownLine.match(log).hasMatch();
        readEvents();
    }
    const bool running = player.state() == QProcess::Running;
    player.kill();
    player.waitForFinished(10000);
    readEvents();
    close(watch);
    log += QString::fromUtf8(player.readAllStandardError());
    EXPECT_TRUE(running) << "the game ended early, exit code " << player.exitCode() << ": " << log.right(2000).toStdString();
    EXPECT_TRUE(shown) << "no start screen shown: " << log.right(2000).toStdString();
    EXPECT_TRUE(opened.count("wending.bin")) << "the game did not open " << bank;
    EXPECT_TRUE(opened.count("swf/bantou.swf")) << "the game did not open its start movie";
    EXPECT_TRUE(changes.empty()) << "written: " << changes.front();
    EXPECT_EQ(fs::last_write_time(bank), timeBefore);
    EXPECT_EQ(Bytes(bank), bytesBefore);
}
