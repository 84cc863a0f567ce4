// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where the game finds its files: the real folder of the running executable,
// with symbolic links resolved, so that a launcher elsewhere still finds them.
#include <filesystem>

#include "platform/Database.h"

namespace wd {

std::filesystem::path ExecutableFolder();
std::filesystem::path QuestionFilePath(); // "wending.bin" beside the executable
// How the game in this folder plays its question file. Only a build folder,
// which the build marks with the file "build-folder.txt" that no install
// holds, keeps the played marks in the file itself; an installed game (the
// package, `cmake --install`) plays from an in-memory copy and never changes
// a file of its install, whoever starts it.
Connection::Access QuestionFileAccess(const std::filesystem::path& gameFolder = ExecutableFolder());
std::filesystem::path MovieFolder();      // the folder "swf" beside the executable
// A movie of the folder "swf" as a full path: MovieFile("1.swf").
std::filesystem::path MovieFile(const char* name);

} // namespace wd
