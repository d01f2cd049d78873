#include "support/json_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "support/json_text.h"
#include "support/find_handle.h"
#include "support/win_handle.h"

namespace JsonFile {

namespace {

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The file a save writes before it takes the target's place: beside the
// target (so the move is one rename), named after it and after the writing
// process ("<target>.<process id>.saving").
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : path_(target + "." + std::to_string(GetCurrentProcessId()) + ".saving") {}
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

// A save that was killed leaves its temporary file behind; the next save of
// the same target removes such files. One that another process is writing is
// open without delete sharing and stays.
void RemoveLeftoverSaves(const std::string& target) {
  const size_t slash = target.find_last_of("\\/:");
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  WIN32_FIND_DATAA entry;
  const FindHandle find(FindFirstFileA((target + ".*.saving").c_str(), &entry));
  if (!find) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + entry.cFileName).c_str());
  } while (FindNextFileA(find.Get(), &entry));
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

std::optional<Json::Document> Read(const std::string& path) {
  // Text mode: the C runtime turns CR LF into LF as it reads.
  UniqueFile file(fopen(path.c_str(), "r"));
  if (!file) return std::nullopt;
  if (fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
  const long length = ftell(file.get());
  if (length <= 0) return std::nullopt;
  rewind(file.get());

  // The byte length is an upper bound: line-end conversion only shortens it.
  std::string text(static_cast<size_t>(length), '\0');
  const size_t got = fread(text.data(), 1, text.size(), file.get());
  if (ferror(file.get())) return std::nullopt;
  text.resize(got);

  std::string_view json = text;
  if (json.starts_with("\xEF\xBB\xBF")) json.remove_prefix(3);
  return Json::Parse(json);
}

bool Write(const Json::Document& document, const std::string& path) {
  const std::string bytes = WithCrLf(Json::SerializePretty(document));

  RemoveLeftoverSaves(path);
  TemporaryFile temporary(path);
  WinHandle file(CreateFileA(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (!WriteAll(file.Get(), bytes)) return false;
  if (!FlushFileBuffers(file.Get())) return false;
  if (!CloseHandle(file.Release())) return false;

  if (!MoveFileExA(temporary.path().c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  temporary.Keep();
  return true;
}

std::optional<std::string> ReadCompact(const std::string& path) {
  std::optional<Json::Document> document = Read(path);
  if (!document) return std::nullopt;
  return Json::SerializeCompact(*document);
}

}  // namespace JsonFile
