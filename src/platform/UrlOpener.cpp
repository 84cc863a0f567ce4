#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace wd {

bool DesktopUrlOpener::Open(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

} // namespace wd
