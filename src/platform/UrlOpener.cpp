#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace wd {

bool DesktopUrlOpener::Open(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QStringLiteral("http")) return false;

    // Platforms with a URL service of their own (X11, Wayland, a portal).
    const QString platform = QGuiApplication::platformName();
    if (platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal") &&
        QDesktopServices::openUrl(url))
        return true;

    // Elsewhere the XDG opener finds the default handler; it tells by its exit
    // status whether a browser could be started.
    auto* opener = new QProcess(this); // owned by the launcher, deleted when done
    connect(opener, &QProcess::finished, this, [this, opener, address](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0) ReportFailure(address);
        opener->deleteLater();
    });
    connect(opener, &QProcess::errorOccurred, this, [this, opener, address](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            ReportFailure(address);
            opener->deleteLater();
        }
    });
    opener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    opener->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
    return true;
}

} // namespace wd
