// Finding the files the program ships (its picture, icon and help page).
#pragma once

#include <string>
#include <vector>

namespace ui {

// The folders searched, in order: beside the program, the installed data folder
// ../share/keyvet relative to the program's folder, and (for a build tree) the source assets.
std::vector<std::string> AssetFolders(const std::string& programFolder);

// The first existing file of that name in AssetFolders(programFolder); empty when none has it.
std::string FindAsset(const std::string& name, const std::string& programFolder);

// The folder of the running program (from /proc/self/exe); empty when it cannot be read.
std::string ProgramFolder();

}  // namespace ui
