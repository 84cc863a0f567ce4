// Installs the current build into a fresh prefix and checks what a desktop
// and a player get: the game folder, the launcher, the desktop entry, the
// icons, the metainfo, and a game that starts from a read-only folder owned
// by someone else without touching its question file.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ui/ProgramIcon.xpm"

namespace fs = std::filesystem;

namespace {

const std::string kId = WD_APP_ID;
const fs::path kGameDir = WD_INSTALL_GAME_DIR;
const fs::path kBinDir = WD_INSTALL_BINDIR;
const fs::path kDataDir = WD_INSTALL_DATADIR;
const int kIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr uid_t kNobody = 65534;

struct Outcome {
    int exitCode = -1;
    QString output;
};

Outcome Execute(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    Outcome run;
    if (!p.waitForStarted(10000)) {
        run.output = program + QStringLiteral(" did not start");
        return run;
    }
    p.waitForFinished(60000);
    run.output = QString::fromUtf8(p.readAll());
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return run;
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
        // An installer's usual umask, whatever this test runs under: new folders 0755.
        const mode_t umaskBefore = umask(022);
        // The component keeps the build's install_manifest.txt, the record of a
        // real install, from being overwritten with this prefix.
        const Outcome install = Execute(QStringLiteral(WD_CMAKE_COMMAND),
                                        {"--install", WD_BUILD_DIR, "--component", "game", "--prefix",
                                         QString::fromStdString(prefix_.string())});
        umask(umaskBefore);
        ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
    }

    void TearDown() override
    {
        if (root_.empty()) return;
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(root_, ec)) {
            if (!e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(root_, ec);
    }

    fs::path Game() const { return prefix_ / kGameDir; }
    fs::path Icon(int size) const
    {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        return prefix_ / kDataDir / "icons/hicolor" / folder / "apps" / (kId + ".png");
    }
    fs::path DesktopEntry() const { return prefix_ / kDataDir / "applications" / (kId + ".desktop"); }
    fs::path Metainfo() const { return prefix_ / kDataDir / "metainfo" / (kId + ".metainfo.xml"); }

    std::set<std::string> InstalledFiles() const
    {
        std::set<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(prefix_)) {
            if (!e.is_directory() || e.is_symlink()) files.insert(e.path().lexically_relative(prefix_).string());
        }
        return files;
    }

    fs::path root_;
    fs::path prefix_;
};

QString Key(const fs::path& entry, const QString& key)
{
    QFile f(QString::fromStdString(entry.string()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    }
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
        QFile f(QString::fromStdString(it->path().string()));
        if (!f.open(QIODevice::ReadOnly)) continue;
        auto matches = rule.globalMatch(QString::fromUtf8(f.readAll()));
        while (matches.hasNext()) {
            const auto m = matches.next();
            components.insert(m.captured(1).toStdString());
        }
    }
    return components;
}

int Colours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

TEST_F(InstalledGame, InstallsTheGameFolderLauncherEntryIconsAndMetainfoAndNothingElse)
{
    std::set<std::string> expected = {
        (kBinDir / "wendingwuguan").string(),
        (kGameDir / "wendingwuguan").string(),
        (kGameDir / "wending.bin").string(),
        DesktopEntry().lexically_relative(prefix_).string(),
        Metainfo().lexically_relative(prefix_).string(),
    };
    for (int size : kIconSizes) expected.insert(Icon(size).lexically_relative(prefix_).string());
    int movies = 0;
    for (const auto& e : fs::directory_iterator(fs::path(WD_BUILD_DIR) / "swf")) {
        if (e.path().extension() != ".swf") continue;
        expected.insert((kGameDir / "swf" / e.path().filename()).string());
        ++movies;
    }
    EXPECT_EQ(movies, 9);
    // No tests, tools or benchmarks: exactly the game and its desktop files,
    // and no install rule outside the game's component.
    EXPECT_EQ(InstalledFiles(), expected);
    EXPECT_EQ(InstallComponents(), std::set<std::string>{"game"});

    const fs::path launcher = prefix_ / kBinDir / "wendingwuguan";
    ASSERT_TRUE(fs::is_symlink(launcher));
    EXPECT_TRUE(fs::read_symlink(launcher).is_relative()) << fs::read_symlink(launcher);
    EXPECT_TRUE(fs::equivalent(launcher, Game() / "wendingwuguan"));
    EXPECT_EQ(fs::status(Game() / "wendingwuguan").permissions() & fs::perms::others_exec, fs::perms::others_exec);

    const auto bytes = [](const fs::path& f) {
        QFile file(QString::fromStdString(f.string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(bytes(Game() / "wending.bin"), bytes(fs::path(WD_BUILD_DIR) / "wending.bin"));
    EXPECT_FALSE(bytes(Game() / "wending.bin").isEmpty());
}

TEST_F(InstalledGame, DesktopEntryAndMetainfoPassTheirValidatorsAndNameTheInstalledFiles)
{
    const QString dfv = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString asc = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (dfv.isEmpty() || asc.isEmpty()) GTEST_SKIP() << "desktop-file-validate or appstreamcli is missing";

    const Outcome entry = Execute(dfv, {QString::fromStdString(DesktopEntry().string())});
    EXPECT_EQ(entry.exitCode, 0) << entry.output.toStdString();
    EXPECT_TRUE(entry.output.trimmed().isEmpty()) << entry.output.toStdString();
    const Outcome meta = Execute(asc, {"validate", "--no-net", QString::fromStdString(Metainfo().string())});
    EXPECT_EQ(meta.exitCode, 0) << meta.output.toStdString();

    EXPECT_EQ(Key(DesktopEntry(), "Name"), QStringLiteral("问鼎五关"));
    EXPECT_EQ(Key(DesktopEntry(), "Name[en]"), QStringLiteral("WenDingWuGuan"));
    // The menu starts the launcher by name from bin/ and shows the theme icon.
    const QString exec = Key(DesktopEntry(), "Exec");
    EXPECT_TRUE(fs::exists(prefix_ / kBinDir / exec.toStdString())) << exec.toStdString();
    EXPECT_EQ(Key(DesktopEntry(), "Icon").toStdString(), kId);
    EXPECT_TRUE(Key(DesktopEntry(), "Categories").split(QLatin1Char(';')).contains(QStringLiteral("Game")));

    QFile xml(QString::fromStdString(Metainfo().string()));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(xml.readAll());
    EXPECT_TRUE(text.contains(QString::fromStdString("<id>" + kId + "</id>")));
    EXPECT_TRUE(text.contains(QString::fromStdString(">" + kId + ".desktop</launchable>")));
}

TEST_F(InstalledGame, IconsHaveEverySizeTheSmallOnesBeingTheSixteenColourProgramIcon)
{
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        const QImage icon(QString::fromStdString(Icon(size).string()));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
    const QImage small16(QString::fromStdString(Icon(16).string()));
    const QImage small32(QString::fromStdString(Icon(32).string()));
    EXPECT_EQ(small16.convertToFormat(QImage::Format_RGB32), QImage(kIcon16).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(small32.convertToFormat(QImage::Format_RGB32), QImage(kIcon32).convertToFormat(QImage::Format_RGB32));
    EXPECT_LE(Colours(small32), 16);

    // The painted sizes show the ding on green: bronze in the middle of the
    // bowl, green between the handles, see-through only at the rounded corners.
    for (int size : {48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = QImage(QString::fromStdString(Icon(size).string())).convertToFormat(QImage::Format_ARGB32);
        const auto at = [&](double x, double y) { return QColor(icon.pixel(int(x * size / 32), int(y * size / 32))); };
        const QColor bowl = at(16, 14);
        EXPECT_GT(bowl.red(), bowl.blue() + 40) << bowl.name().toStdString();
        EXPECT_GT(bowl.green(), bowl.blue() + 40) << bowl.name().toStdString();
        const QColor ground = at(16, 5);
        EXPECT_GT(ground.green(), ground.red() + 60) << ground.name().toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        EXPECT_GT(Colours(icon), 16);
    }
}

TEST_F(InstalledGame, StartsThroughTheLauncherFromAReadOnlyFolderOfAnotherUserAndLeavesTheQuestionFileAlone)
{
    const fs::path bank = Game() / "wending.bin";
    struct stat before {};
    ASSERT_EQ(stat(bank.c_str(), &before), 0);
    const QByteArray bytesBefore = [&] {
        QFile f(QString::fromStdString(bank.string()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(bytesBefore.isEmpty());

    // A system install: the folder belongs to root (or to us) and nobody may write in it.
    const bool root = geteuid() == 0;
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& e : fs::recursive_directory_iterator(Game())) fs::permissions(e.path(), write, fs::perm_options::remove);
    fs::permissions(Game(), write, fs::perm_options::remove);

    // A home the player owns, so that only the game folder is read-only.
    const fs::path home = root_ / "home";
    fs::create_directory(home);
    if (root) {
        ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
    }

    // Watch the game folder: the game must open its question file and the start
    // screen's movie there, and never write, make or remove anything.
    const auto changed = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_TO;
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, Game().c_str(), IN_OPEN | changed), 0);
    const int swf = inotify_add_watch(watch, (Game() / "swf").c_str(), IN_OPEN | changed);
    ASSERT_GE(swf, 0);

    const std::string launcher = (prefix_ / kBinDir / "wendingwuguan").string();
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(),
                                    "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
    // The sanitizers' options, in a sanitized build; the game is killed, so no leak check.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* v = std::getenv(name)) env.push_back(std::string(name) + "=" + v);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = "wendingwuguan";
    char* argv[] = {arg0.data(), nullptr};
    // The child starts in a folder of its own, away from the game folder.
    const std::string cwd = home.string();

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (root) {
            const gid_t group = kNobody;
            if (setgroups(1, &group) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(120);
        }
        if (chdir(cwd.c_str()) != 0) _exit(121);
        execve(launcher.c_str(), argv, envp.data());
        _exit(122);
    }

    int status = 0;
    pid_t done = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until && (done = waitpid(pid, &status, WNOHANG)) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const bool stillRunning = done == 0;
    kill(pid, SIGKILL);
    if (stillRunning) waitpid(pid, &status, 0);
    EXPECT_TRUE(stillRunning) << "the game ended early: "
                              << (WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                                                    : "signal " + std::to_string(WTERMSIG(status)));

    std::set<std::string> opened;
    std::vector<std::string> changes;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = read(watch, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* ev = reinterpret_cast<const inotify_event*>(p);
            const std::string name = (ev->wd == swf ? "swf/" : "") + std::string(ev->len ? ev->name : "");
            if (ev->mask & IN_OPEN) opened.insert(name);
            if (ev->mask & changed) changes.push_back(name);
            p += sizeof(inotify_event) + ev->len;
        }
    }
    close(watch);
    EXPECT_TRUE(opened.count("wending.bin")) << "the game did not open " << bank;
    EXPECT_TRUE(opened.count("swf/bantou.swf")) << "the game did not open its start movie";
    EXPECT_TRUE(changes.empty()) << "written: " << changes.front();

    struct stat after {};
    ASSERT_EQ(stat(bank.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    QFile f(QString::fromStdString(bank.string()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytesBefore);
}
