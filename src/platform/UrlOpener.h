#pragma once
// Opens a web page in the user's default browser. Screens go through this
// seam; tests record the addresses instead.
#include <QString>

namespace wd {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Returns false when no browser could be asked.
    virtual bool Open(const QString& address) = 0;
};

// Hands the address to the desktop (xdg-open and friends).
class DesktopUrlOpener final : public UrlOpener {
public:
    bool Open(const QString& address) override;
};

} // namespace wd
