// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/ScoreAddress.h"

#include <QRegularExpression>

#include "game/Site.h"

namespace wd {

namespace {
constexpr char16_t kPasswordMask[] = u"******";
} // namespace

QString site::PageAddress(const char* path)
{
    return QString::fromLatin1(kScheme) + QString::fromLatin1(kHost) + QString::fromLatin1(path);
}

QString site::Credits()
{
    return QStringLiteral("%1\u3000%2\r联系我们: %3")
        .arg(QString::fromUtf16(kName), HomeAddress(), QString::fromLatin1(kContact));
}

QString EncodeQueryValue(const QString& value)
{
    static const char* const kHex = "0123456789ABCDEF";
    QString out;
    for (const char byte : value.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += QChar(c);
        } else {
            out += QChar(u'%');
            out += QChar(kHex[c >> 4]);
            out += QChar(kHex[c & 0xF]);
        }
    }
    return out;
}

QString ScoreUploadAddress(const ScoreUpload& u)
{
    return site::PageAddress(site::kScorePath) + QStringLiteral("?userid=") + EncodeQueryValue(u.userId) +
           QStringLiteral("&passwd=") + EncodeQueryValue(u.password) +
           QStringLiteral("&playercash=") + EncodeQueryValue(QString::number(u.playerCash)) +
           QStringLiteral("&provider=") + EncodeQueryValue(u.provider) +
           QStringLiteral("&providercash=") + EncodeQueryValue(QString::number(u.providerCash));
}

QString WithPasswordMasked(const QString& address)
{
    // Every value is percent-encoded, so the password runs to the next "&" or "#".
    static const QRegularExpression password(QStringLiteral("([?&]passwd=)[^&#]+"));
    QString shown = address;
    return shown.replace(password, QStringLiteral("\\1") + QString::fromUtf16(kPasswordMask));
}

} // namespace wd
