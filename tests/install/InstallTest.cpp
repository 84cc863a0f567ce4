// Installs the current build into a fresh prefix and checks what a desktop
// and a player get: the game folder, the launcher, the desktop entry, the
// icons, the metainfo, and a game that starts from a read-only folder owned
// by someone else without touching its question file.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ui/ProgramIcon.xpm"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kGameDir = WD_INSTALL_GAME_DIR, kBinDir = WD_INSTALL_BINDIR, kDataDir = WD_INSTALL_DATADIR;
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

    fs::path root_, prefix_;
};

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
    std::set<std::string> installed;
    for (const auto& e : fs::recursive_directory_iterator(prefix_))
        if (!e.is_directory() || e.is_symlink()) installed.insert(Relative(e.path()));
    EXPECT_EQ(installed, expected);
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

TEST_F(InstalledGame, StartsThroughTheLauncherFromAReadOnlyFolderOfAnotherUserAndLeavesTheQuestionFileAlone)
{
    const fs::path bank = Game() / "wending.bin";
    const QByteArray bytesBefore = Bytes(bank);
    const auto timeBefore = fs::last_write_time(bank);
    ASSERT_FALSE(bytesBefore.isEmpty());

    // A system install: the folder belongs to root (or to us) and nobody may write
    // in it; a home the player owns, so that only the game folder is read-only.
    const bool root = geteuid() == 0;
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& e : fs::recursive_directory_iterator(Game())) fs::permissions(e.path(), write, fs::perm_options::remove);
    fs::permissions(Game(), write, fs::perm_options::remove);
    const fs::path home = root_ / "home";
    fs::create_directory(home);
    if (root) {
        ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
    }

    // The game must open its question file and the start screen's movie in the
    // game folder, and never write, make or remove anything there.
    const auto changed = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_TO;
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, Game().c_str(), IN_OPEN | changed), 0);
    const int swf = inotify_add_watch(watch, (Game() / "swf").c_str(), IN_OPEN | changed);
    ASSERT_GE(swf, 0);

    const std::string launcher = (prefix_ / kBinDir / "wendingwuguan").string();
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(),
                                    "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) // a sanitized build; killed, so no leak check
        if (const char* v = std::getenv(name)) env.push_back(std::string(name) + "=" + v);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = "wendingwuguan";
    char* argv[] = {arg0.data(), nullptr};

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) { // as nobody when we are root, in a folder away from the game's
        const gid_t group = kNobody;
        if (root && (setgroups(1, &group) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(120);
        if (chdir(home.c_str()) != 0) _exit(121);
        execve(launcher.c_str(), argv, envp.data());
        _exit(122);
    }
    int status = 0;
    pid_t done = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until && (done = waitpid(pid, &status, WNOHANG)) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGKILL);
    if (done == 0) waitpid(pid, &status, 0);
    EXPECT_EQ(done, 0) << "the game ended early: "
                       << (WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                                             : "signal " + std::to_string(WTERMSIG(status)));

    std::set<std::string> opened;
    std::vector<std::string> changes;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
            const auto* ev = reinterpret_cast<const inotify_event*>(p);
            const std::string name = (ev->wd == swf ? "swf/" : "") + std::string(ev->len ? ev->name : "");
            if (ev->mask & IN_OPEN) opened.insert(name);
            if (ev->mask & changed) changes.push_back(name);
        }
    }
    close(watch);
    EXPECT_TRUE(opened.count("wending.bin")) << "the game did not open " << bank;
    EXPECT_TRUE(opened.count("swf/bantou.swf")) << "the game did not open its start movie";
    EXPECT_TRUE(changes.empty()) << "written: " << changes.front();
    EXPECT_EQ(fs::last_write_time(bank), timeBefore);
    EXPECT_EQ(Bytes(bank), bytesBefore);
}
