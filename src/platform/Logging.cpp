// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Logging.h"

namespace wd {

Q_LOGGING_CATEGORY(lcSound, "wd.sound")
Q_LOGGING_CATEGORY(lcBank, "wd.bank")

} // namespace wd
