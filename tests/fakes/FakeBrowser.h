// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A fake default web browser for the desktop's own opener, xdg-open. While one
// lives, the process sees a private desktop: its own home, data, config and
// runtime folders, no desktop environment and no session bus (so xdg-open
// takes its generic way: `xdg-mime query default x-scheme-handler/http`, then
// $BROWSER, then a list of well-known browsers), no $BROWSER, and every
// well-known browser shadowed by one that fails. In it a small script is the
// default handler of http and https addresses: it appends each address it is
// given to a file, one per line, then exits or stays running. The environment
// is put back when it goes, and a browser still running is ended.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "fakes/Servers.h"

namespace wd::test {

class FakeBrowser {
public:
    enum class Then { Exit, Stay };
    explicit FakeBrowser(Then then = Then::Exit);
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    // xdg-mime accepted the script as the default http and https handler.
    bool Registered() const { return registered_; }
    // Takes the handler's desktop entry away, as uninstalling a browser does
    // (the default still names it), and brings it back.
    void Uninstall();
    void Install();
    // Every address that arrived, each followed by a line feed.
    QString Arrived() const;

private:
    QTemporaryDir dir_;
    QString entry_;
    QString entryText_;
    bool registered_ = false;
    Environment env_;
};

} // namespace wd::test
