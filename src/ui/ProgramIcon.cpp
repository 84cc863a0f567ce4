// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ProgramIcon.h"

#include <QPixmap>

#include "ui/ProgramIcon.xpm"

namespace wd {

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(kIcon32));
    icon.addPixmap(QPixmap(kIcon16));
    return icon;
}

} // namespace wd
