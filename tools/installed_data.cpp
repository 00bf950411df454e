#include "tools/installed_data.h"

#include <filesystem>
#include <system_error>

std::string InstalledDataFile(std::string_view name) {
#ifdef BRINDLET_DATA_FROM_TOOL
  std::error_code error;
  const std::filesystem::path tool = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const std::filesystem::path file = tool.parent_path() / BRINDLET_DATA_FROM_TOOL / name;
  if (std::filesystem::is_regular_file(file, error)) return file.lexically_normal().string();
#else
  (void)name;
#endif
  return {};
}
