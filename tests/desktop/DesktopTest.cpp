// The page opener as players meet it: a real X server of the test's own
// (Xvfb, no desktop environment, no portal), xdg-open choosing the default
// browser the XDG way, real message boxes and the real clipboard.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/FakeBrowser.h"
#include "fakes/ScriptedRandom.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/UrlOpener.h"
#include "screens/entry/FrmSaveMoney.h"
#include "ui/Messages.h"
#include "ui/Screens.h"

using namespace wd;
using namespace wd::test;

namespace {

constexpr int kPatience = 20000; // ms for xdg-open and the browser on a busy machine

// Starts a program with its output silenced; its pid.
pid_t Start(std::vector<std::string> args)
{
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

bool Ran(std::vector<std::string> args)
{
    int status = 0;
    const pid_t pid = Start(std::move(args));
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Xvfb on the first free display, reachable only with a cookie of its own;
// DISPLAY and XAUTHORITY name it while it runs.
class XServer {
public:
    XServer()
    {
        const std::string auth = QFile::encodeName(dir_.filePath(QStringLiteral("auth"))).toStdString();
        quint32 random[4];
        QRandomGenerator::system()->fillRange(random);
        const std::string cookie = QByteArray(reinterpret_cast<const char*>(random), sizeof random).toHex().toStdString();
        int ready[2];
        // The server takes every cookie in its file, whatever display it names.
        if (!dir_.isValid() || !Ran({"xauth", "-f", auth, "add", ":0", ".", cookie}) || pipe(ready) != 0) return;
        pid_ = Start({"Xvfb", "-displayfd", std::to_string(ready[1]), "-auth", auth, "-nolisten", "tcp", "-screen", "0",
                      "1024x768x24"});
        close(ready[1]);
        std::string number;
        pollfd wait{ready[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, kPatience) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
        close(ready[0]);
        if (number.empty() || !Ran({"xauth", "-f", auth, "add", ":" + number, ".", cookie})) return;
        qputenv("DISPLAY", QByteArray(":") + number.c_str());
        qputenv("XAUTHORITY", auth.c_str());
        running_ = true;
    }
    ~XServer()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool Running() const { return running_; }

private:
    QTemporaryDir dir_;
    pid_t pid_ = -1;
    bool running_ = false;
};

} // namespace

// Without a browser the score survives and the player is told, with the
// password masked and the whole address to copy; once a browser is there,
// the next press brings it the exact address with the figures kept.
TEST(Desktop, TheScorePageWithoutABrowserKeepsTheFiguresAndWithOneArrivesExactly)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    FakeBrowser browser;
    ASSERT_TRUE(browser.Registered());
    browser.Uninstall();
    Module1 session;
    ScriptedRandom random;
    QuestionBank bank(session, random, "no-such-file.bin");
    QtMessageBoxes messages;
    DesktopUrlOpener urls;
    Screens screens(Services{session, bank, messages, random, urls}, [] {});
    session.ClearCount = 1;
    session.StakeScore = 20000;
    session.ProviderName = QStringLiteral("星澜");
    session.ProviderScore = 5000;
    session.PlayerId = QStringLiteral("叶子\U0001F600");
    screens.Register<FrmSaveMoney>();
    screens.Show(FrmSaveMoney::kId);
    Screen& save = *screens.Loaded(FrmSaveMoney::kId);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&save));
    save.controls().Get<TextBox>("TxtPassword")->setText(QStringLiteral("a&b=#\U00020000"));
    Label* link = save.controls().Get<Label>("Label1");
    const auto upload = [&] { QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2)); };
    const QString page = QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=%E5%8F%B6%E5%AD%90"
                                        "%F0%9F%98%80&passwd=");
    const QString address = page + QStringLiteral("a%26b%3D%23%F0%A0%80%80&playercash=120000"
                                                  "&provider=%E6%98%9F%E6%BE%9C&providercash=5000");

    // Each notice is read, then its copy button pressed.
    QStringList notices;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        notices << box->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("复制网址")) return button->click();
        box->close(); // no copy button: the test fails, but goes on
    });
    reader.start(20);
    upload();
    QTRY_COMPARE_WITH_TIMEOUT(notices.size(), 1, kPatience);
    EXPECT_TRUE(notices[0].endsWith(page + QStringLiteral("******&playercash=120000&provider=%E6%98%9F%E6%BE%9C"
                                                                "&providercash=5000")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
    EXPECT_EQ(session.StakeScore, 20000);
    EXPECT_EQ(session.ProviderScore, 5000);

    browser.Install();
    upload();
    upload(); // while the first is undecided: not sent again
    QTRY_COMPARE_WITH_TIMEOUT(session.ProviderScore, 0, kPatience);
    EXPECT_EQ(session.StakeScore, 0);
    upload(); // spent: the banked run alone
    QTRY_COMPARE_WITH_TIMEOUT(browser.Arrived().count(u'\n'), 2, kPatience);
    EXPECT_EQ(browser.Arrived(), address + u'\n' + page +
                                     QStringLiteral("a%26b%3D%23%F0%A0%80%80&playercash=100000"
                                                    "&provider=%E6%98%9F%E6%BE%9C&providercash=0\n"));
    EXPECT_EQ(notices.size(), 1);
}

// Some openers run the browser themselves and stay until it ends.
TEST(Desktop, AnOpenerStillRunningAfterTheWaitHasOpenedThePage)
{
    FakeBrowser browser(FakeBrowser::Then::Stay);
    ASSERT_TRUE(browser.Registered());
    DesktopUrlOpener urls(std::chrono::milliseconds(300));
    std::optional<bool> opened;
    const QString address = QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp");
    urls.Open(address, [&](bool ok) { opened = ok; });
    QTRY_VERIFY_WITH_TIMEOUT(opened.has_value(), kPatience);
    EXPECT_TRUE(*opened);
    QTRY_COMPARE_WITH_TIMEOUT(browser.Arrived(), address + u'\n', kPatience);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return RUN_ALL_TESTS();
    }
    // The set-up installs Xvfb and xauth; without them these tests cannot pass.
    XServer x;
    if (!x.Running()) {
        std::fprintf(stderr, "could not start Xvfb with an xauth cookie (scripts/setup.sh installs both)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    // No session bus, so that nothing is started on demand for one.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/wd-no-bus");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
