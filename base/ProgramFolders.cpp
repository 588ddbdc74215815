#include "base/ProgramFolders.h"

#include <algorithm>
#include <system_error>

namespace {

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

// "a/b/" and "a/b" name one folder.
std::filesystem::path Clean(const std::filesystem::path& folder)
{
    std::filesystem::path clean = folder.lexically_normal();
    if (!clean.has_filename() && clean.has_relative_path())
        clean = clean.parent_path();
    return clean;
}

} // namespace

std::vector<std::filesystem::path> ProgramDataFolders(const std::filesystem::path& currentFolder,
                                                      const std::filesystem::path& programFolder)
{
    std::vector<std::filesystem::path> folders;
    if (!currentFolder.empty())
        folders.push_back(Clean(currentFolder));
    if (!programFolder.empty()) {
        folders.push_back(Clean(programFolder));
        folders.push_back(Clean(programFolder / SKINREC_DATA_DIR_FROM_PROGRAM));
    }
    std::vector<std::filesystem::path> unique;
    for (const std::filesystem::path& folder : folders) {
        if (std::find(unique.begin(), unique.end(), folder) == unique.end())
            unique.push_back(folder);
    }
    return unique;
}

std::vector<std::filesystem::path> ProgramDataFolders()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return ProgramDataFolders(error ? std::filesystem::path() : current, ExecutableFolder());
}
