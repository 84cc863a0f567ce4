// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The score upload: the site's score page with the player's figures in its query.
#include <cstdint>

#include <QString>

namespace wd {

struct ScoreUpload {
    QString userId;
    QString password;
    std::int32_t playerCash = 0;
    QString provider;
    std::int32_t providerCash = 0;
};

// http://HOST/asp/wending/saveresult.asp?userid=…&passwd=…&playercash=…&provider=…&providercash=…
// Every value is percent-encoded from its UTF-8 bytes (unreserved characters stay,
// everything else becomes %XX in capitals), so that "&", "=", "#", "%", "+",
// spaces and Chinese names reach the site intact.
QString ScoreUploadAddress(const ScoreUpload& upload);

// The address as the player may see it: a non-empty password value replaced
// by a mask that tells nothing of it, not even its length.
QString WithPasswordMasked(const QString& address);

// RFC 3986 percent-encoding of one query value.
QString EncodeQueryValue(const QString& value);

} // namespace wd
