#include "screens/SitePages.h"

#include "platform/UrlOpener.h"
#include "ui/Messages.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd {

QString PageNotOpenedText(const QString& address)
{
    return QStringLiteral("无法打开网页，请把下面的网址复制到浏览器里：\r%1").arg(address);
}

bool OpenPageInBrowser(Screen& screen, const QString& address)
{
    if (screen.services().urls.Open(address)) return true;
    screen.Tell(PageNotOpenedText(address));
    return false;
}

} // namespace wd
