// What the file readers' fuzz targets share: a prompt that keeps the messages, the input put
// into a file for the readers that take a path, and the stop on a broken contract.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/text_file.h"
#include "app/user_prompt.h"

namespace fuzzing {

// Answers nothing and keeps every message, so that a target can check what a refusal showed.
class TQuietPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& /*text*/) override { return false; }
  std::optional<std::string> OpenFile(const std::string& /*filter*/) override { return {}; }
  std::optional<std::string> SaveFile(const std::string& /*filter*/) override { return {}; }

  std::string Last() const { return messages.empty() ? std::string() : messages.back(); }

  std::vector<std::string> messages;
};

// Stops the run with a message libFuzzer keeps next to the input that broke the contract.
[[noreturn]] inline void FileViolation(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "contract violated: %s\n", what);
  std::fwrite(detail.data(), 1, detail.size(), stderr);  // NUL bytes included
  std::fputc('\n', stderr);
  std::abort();
}

// Whether text the writers produce reads back byte for byte: single-byte text that happens to be
// UTF-8 beyond ASCII (or to start with its byte-order mark) reads as the Latin-1 characters it
// encodes instead, so a round trip through such a file need not give the same state.
inline bool ReadsBackAsWritten(std::string_view bytes) {
  return app::SingleByteText(std::string(bytes)) == bytes;
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A file of this process holding `bytes`, for the readers that open a path as the windows do.
// `name` tells apart several files of one target.
inline std::string InputFile(std::string_view bytes, const char* name = "input") {
  const std::string path = "/tmp/calc-fuzz-" + std::to_string(::getpid()) + "-" + std::string(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) FileViolation("the fuzz input could not be written to a file", path);
  return path;
}

}  // namespace fuzzing
