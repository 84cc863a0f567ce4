#pragma once
// A fake default web browser registered the XDG way: while one lives, the
// process sees a private, empty desktop (its own data and config folders) in
// which a small script is the default handler for http addresses; the script
// appends each address it is given to a file, one per line. The environment
// is put back when it goes.
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace wd::test {

class FakeBrowser {
public:
    FakeBrowser();
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    // xdg-mime accepted the script as the default http handler.
    bool Registered() const { return registered_; }
    // Every address that arrived, each followed by a line feed.
    QString Arrived() const;
    // Sets an environment variable until the browser goes.
    void Set(const char* name, const QString& value);

private:
    QTemporaryDir dir_;
    QString record_;
    bool registered_ = false;
    std::vector<std::pair<QByteArray, QByteArray>> saved_;
};

} // namespace wd::test
