// Shipped files: beside the program, in the installed data folder, in the source assets.
#include "ui/AssetFiles.h"

#include <filesystem>
#include <system_error>

namespace ui {

std::vector<std::string> AssetFolders(const std::string& programFolder) {
    std::vector<std::string> folders;
    if (!programFolder.empty()) {
        const std::filesystem::path folder(programFolder);
        folders.push_back(folder.string());
        folders.push_back((folder / ".." / "share" / "keyvet").lexically_normal().string());
    }
#ifdef KEYVET_SOURCE_ASSETS
    folders.push_back(KEYVET_SOURCE_ASSETS);
#endif
    return folders;
}

std::string FindAsset(const std::string& name, const std::string& programFolder) {
    if (name.empty()) {
        return std::string();
    }
    for (const std::string& folder : AssetFolders(programFolder)) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate.string();
        }
    }
    return std::string();
}

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::string();
    }
    return program.parent_path().string();
}

}  // namespace ui
