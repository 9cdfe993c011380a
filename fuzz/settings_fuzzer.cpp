// libFuzzer target: bytes read as the settings file, as the main window reads it at start. What
// the file gives, laid over the start-up settings and written back, reads again to the same
// settings; and the file module writes back what it read, so a second write is the first.
#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "file_fuzz_support.h"

namespace fuzzing {
namespace {

// The settings a fresh window has before its file is read: not all defaults, so that a value
// the file does not give shows when it is lost.
app::TWindowSettings StartSettings() {
  app::TWindowSettings settings;
  settings.top = 10;
  settings.left = 20;
  settings.height = 600;
  settings.width = 800;
  settings.memo1Height = 100;
  settings.memo2Height = 200;
  settings.currencyType = true;
  settings.filePath = "/home/user/calc";
  return settings;
}

std::string Written(const app::TWindowSettings& settings) {
  return app::WriteSettings(settings).ToBytes();
}

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  const std::string_view bytes = AsText(data, size);
  const app::TIniFile file = app::TIniFile::FromBytes(bytes);
  const std::string once = file.ToBytes();
  if (app::TIniFile::FromBytes(once).ToBytes() != once) {
    FileViolation("a written settings file wrote back differently", once);
  }
  const app::TWindowSettings applied = app::ApplySettings(StartSettings(), app::ReadSettings(file));
  const std::string written = Written(applied);
  const app::TWindowSettings again =
      app::ApplySettings(StartSettings(), app::ReadSettings(app::TIniFile::FromBytes(written)));
  if (Written(again) != written) FileViolation("written settings read back differently", written);
  return 0;
}
