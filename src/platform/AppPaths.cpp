// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/AppPaths.h"

#include <system_error>

namespace wd {

std::filesystem::path ExecutableFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::filesystem::path QuestionFilePath() { return ExecutableFolder() / "wending.bin"; }

Connection::Access QuestionFileAccess(const std::filesystem::path& gameFolder)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(gameFolder / "build-folder.txt", ec) ? Connection::Access::Play
                                                                                 : Connection::Access::Copy;
}

std::filesystem::path MovieFolder() { return ExecutableFolder() / "swf"; }

std::filesystem::path MovieFile(const char* name) { return MovieFolder() / name; }

} // namespace wd
