#include "tools/standins/common/fault_mode.h"

#include <windows.h>

#include <string_view>

#include "tools/standins/common/console_output.h"
#include "tools/standins/common/environment.h"

namespace standins {

namespace {

// Bytes a junk run is made of besides its few placed line ends, quote and
// zero bytes: no letter, no digit, no CR, LF or double quote.
constexpr std::string_view kJunkPunctuation = " \t{}:;,.\\/?*|<>!#$%&'()+-=@[]^_`~\x01\x02\x07\x08\x1b\x7f";

class JunkSource {
 public:
  explicit JunkSource(uint64_t seed) : state_(seed) {}

  char NextByte() {
    const uint64_t value = Next();
    // Three bytes in four from the upper half: mostly no valid UTF-8, and in
    // the ANSI code pages no text anyone would print.
    if (value % 4 != 0) return static_cast<char>(0x80 + (value >> 8) % 0x80);
    return kJunkPunctuation[(value >> 8) % kJunkPunctuation.size()];
  }

  std::string Bytes(size_t count) {
    std::string bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i) bytes.push_back(NextByte());
    return bytes;
  }

 private:
  // splitmix64
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  uint64_t state_;
};

enum class Fault { kNone, kFail, kGarbage, kSilent, kUnknown };

Fault AskedFault(std::string& value) {
  const std::optional<std::string> configured = EnvironmentVariable(L"STANDIN_FAULT");
  if (!configured || configured->empty()) return Fault::kNone;
  value = *configured;
  if (value == "fail") return Fault::kFail;
  if (value == "garbage") return Fault::kGarbage;
  if (value == "silent") return Fault::kSilent;
  return Fault::kUnknown;
}

// Bytes as they are: junk is no text and must not go through a code page.
void WriteRawToStdout(const std::string& bytes) {
  const HANDLE stream = GetStdHandle(STD_OUTPUT_HANDLE);
  if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
  size_t offset = 0;
  while (offset < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(stream, bytes.data() + offset, static_cast<DWORD>(bytes.size() - offset), &written, nullptr) ||
        written == 0) {
      return;  // the reader has had enough
    }
    offset += written;
  }
}

}  // namespace

std::string GarbageBytes(uint64_t seed) {
  JunkSource junk(seed);
  std::string bytes;
  // Shaped like a line of `list vms`: a quoted name, then a value in braces.
  bytes += '"' + junk.Bytes(120) + "\" {" + junk.Bytes(36) + "}\r\n";
  bytes += junk.Bytes(6000) + "\n";  // one very long line, a bare LF
  bytes += junk.Bytes(300) + "\r";   // a bare CR
  bytes += junk.Bytes(200) + std::string(16, '\0') + junk.Bytes(200);
  bytes += "\r\n" + junk.Bytes(700);  // and no line end at the very end
  return bytes;
}

uint64_t GarbageSeed(std::string_view commandLine) {
  uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a
  for (const char c : commandLine) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ull;
  }
  return hash;
}

std::optional<int> ActOutFault(const StandinIdentity& identity) {
  std::string value;
  switch (AskedFault(value)) {
    case Fault::kNone:
      return std::nullopt;
    case Fault::kFail:
      WriteToStderr(identity.errorPrefix + "The operation failed (STANDIN_FAULT=fail)\r\n");
      return identity.failureExitCode;
    case Fault::kGarbage:
      WriteRawToStdout(GarbageBytes(GarbageSeed(GetCommandLineA())));
      return 0;
    case Fault::kSilent:
      return 0;
    case Fault::kUnknown:
      break;
  }
  WriteToStderr(identity.errorPrefix + "Unknown STANDIN_FAULT value '" + value + "'\r\n");
  return identity.failureExitCode;
}

}  // namespace standins
