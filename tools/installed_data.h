#pragma once
#include <string>
#include <string_view>

// A file of the installed data folder (share/games/brindlet: the default books, the bench
// suite), found from the tool's own folder, or an empty text where there is none. The tool
// knows its own path where the system names the running program as /proc/self/exe does.
std::string InstalledDataFile(std::string_view name);
