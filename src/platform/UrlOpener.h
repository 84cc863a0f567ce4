#pragma once
// Opening a page of the fan site in the player's default browser. Screens go
// through this seam; tests record the addresses instead.
#include <functional>

#include <QObject>
#include <QString>

namespace wd {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Hands the address to the default browser. False when no browser could be
    // started at once; a failure the desktop reports only later reaches the
    // callback given to SetFailureHandler.
    virtual bool Open(const QString& address) = 0;
    void SetFailureHandler(std::function<void(const QString& address)> handler) { failed_ = std::move(handler); }

protected:
    void ReportFailure(const QString& address)
    {
        if (failed_) failed_(address);
    }

private:
    std::function<void(const QString&)> failed_;
};

// The desktop's way: Qt's desktop services (the XDG default handler or the
// desktop portal); where the platform has no such service, xdg-open itself.
class DesktopUrlOpener final : public QObject, public UrlOpener {
public:
    explicit DesktopUrlOpener(QObject* parent = nullptr) : QObject(parent) {}
    bool Open(const QString& address) override;
};

} // namespace wd
