#pragma once

#include <filesystem>
#include <vector>

// Where the program looks for the files it ships (skin packages, the "Frame"
// folder), in order: the current directory, the program's own folder, then
// the data folder of an installed copy, found from the program's folder so a
// prefix moved after installing still works. Folders may not exist; one
// reached twice is listed once. Callable from any thread.
std::vector<std::filesystem::path> ProgramDataFolders();

// The same order for a given current directory and program folder; an empty
// one (it could not be found) is left out.
std::vector<std::filesystem::path> ProgramDataFolders(const std::filesystem::path& currentFolder,
                                                      const std::filesystem::path& programFolder);
