// Any file contents: the settings reader must return for every lookup, and a value written
// into a copy of the file must read back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "settings/ini_file.h"

namespace {

std::string ScratchPath() {
  const char* folder = std::getenv("TMPDIR");
  return std::string(folder ? folder : "/tmp") + "/keyhaven-ini-fuzz-" + std::to_string(::getpid()) + ".ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = ScratchPath();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  settings::IniFile ini(path);
  (void)ini.readBool("软件配置", "粘贴式", true);
  (void)ini.readInteger("软件配置", "非粘贴式", 7);
  (void)ini.readString("s", "k", "default");

  try {
    ini.writeString("软件配置", "粘贴式", "0x1F");
    if (ini.readInteger("软件配置", "粘贴式", 0) != 31) std::abort();
  } catch (const settings::IniWriteError&) {
    if (size <= settings::IniFile::kSizeLimit) std::abort();  // only an oversized file is refused
  }
  ::unlink(path.c_str());
  return 0;
}
