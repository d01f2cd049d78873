// The child's damaged-file runs: each damaged form of one file, under every
// command that reads it, in-process, in the sandbox program folder.
//
// A damaged form that still reads as JSON (decided with the program's own
// parser, as the program reads the file) must answer exactly as a clean file
// of the same document. One that does not must answer as the table says for
// an unreadable file, leave the file as the table says, and start no tool
// although the settings around it name the stand-ins.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "commands/dispatcher.h"
#include "support/json_file.h"
#include "support/json_text.h"
#include "tests/common/test_support.h"
#include "tests/fuzz/child_environment.h"
#include "tests/fuzz/child_guard.h"
#include "tests/fuzz/child_mode.h"
#include "tests/fuzz/damaged_file_cases.h"
#include "tests/fuzz/file_damage.h"
#include "tests/fuzz/inventory_words.h"
#include "tests/fuzz/reply_check.h"
#include "tests/fuzz/sample_folder.h"
#include "tests/fuzz/sandbox_mark.h"
#include "tests/fuzz/sandbox_shell.h"

namespace {

using JsonValue = nlohmann::ordered_json;

constexpr size_t kReportedFailures = 30;

// What one command did.
struct Outcome {
  std::optional<std::string> reply;
  std::optional<std::string> fileAfter;  // nullopt: the file is gone
  bool toolStarted = false;
};

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return 0;
  return (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

// The document the program reads from these bytes, if any: one byte-order
// mark skipped, as the program's reader does.
std::optional<Json::Document> ReadsAs(const std::string& bytes) {
  std::string_view text = bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return Json::Parse(text);
}

// The reply against the table's answer; a member expected as an object
// stands for the reply member's text read as JSON.
std::string AnswerProblem(const std::string& reply, int code, const std::string& msg, const JsonValue& data) {
  const JsonValue parsed = JsonValue::parse(reply, nullptr, false);
  if (parsed["code"] != code || parsed["msg"] != msg) {
    return "answered " + parsed["code"].dump() + " " + parsed["msg"].dump() + " for " + std::to_string(code) + " \"" +
           msg + "\"";
  }
  if (!parsed["data"].is_object() || parsed["data"].size() != data.size()) return "data " + parsed["data"].dump();
  for (const auto& [name, expected] : data.items()) {
    const JsonValue actual = parsed["data"].value(name, JsonValue());
    const bool asText = expected.is_structured() && actual.is_string();
    const JsonValue compared = asText ? JsonValue::parse(actual.get<std::string>(), nullptr, false) : actual;
    if (compared != expected) return "data member " + name + " is " + Excerpt(actual.dump(), 400);
  }
  return "";
}

std::string FileProblem(FileAfter rule, const std::string& before, const std::optional<std::string>& after) {
  if (rule == FileAfter::Kept && after != before) {
    return after ? "the file was changed to " + Excerpt(*after, 160) : "the file was removed";
  }
  if (rule == FileAfter::Removed && after) return "the file is still there";
  return "";
}

// The answer to a refresh that reads Workstation's inventory: the rebuilt
// list with the states the inventory's words give.
JsonValue InventoryAnswer(JsonValue data, const std::string& inventory) {
  for (JsonValue& clone : data["reslist"]["data"]) {
    if (IsPausedInInventory(inventory, clone["path"].get<std::string>())) clone["state"] = "paused";
  }
  return data;
}

class DamagedFileChecker {
 public:
  DamagedFileChecker(const DamagedFileCase& fileCase, const SandboxFolder& folder)
      : case_(fileCase), folder_(folder), files_(fileCase, folder), choosers_(folder.ansi) {
    environment_.window = &window_;
    environment_.choosers = &choosers_;
    const char* log = std::getenv("STANDIN_LOG");
    log_ = log ? log : "";
  }

  std::string ValidSubject() const { return files_.ValidSubject(); }

  // What is wrong with one command on one damaged form; empty when nothing is.
  std::string Check(const ReaderCase& reader, const FileVariant& variant) {
    const std::optional<Json::Document> document = case_.fileName ? ReadsAs(variant.bytes) : std::nullopt;
    // A file that still reads makes the commands run the tools it or its
    // neighbours name; they name none then, so no run waits for one.
    const Outcome outcome = Run(reader, variant.bytes, !document);
    const std::string request = PutSandboxInJson(reader.request, folder_.utf8);
    if (std::string problem = ReplyProblem(1, ReadLikeTheDispatcher(&request), outcome.reply); !problem.empty()) {
      return problem;
    }
    if (document) return CleanFileProblem(reader, variant, outcome, *document);

    JsonValue data = JsonValue::parse(PutSandboxInJson(reader.data, folder_.utf8));
    if (!case_.fileName) data = InventoryAnswer(data, variant.bytes);
    if (std::string problem = AnswerProblem(*outcome.reply, reader.code, reader.msg, data); !problem.empty()) {
      return problem;
    }
    if (std::string problem = FileProblem(reader.file, variant.bytes, outcome.fileAfter); !problem.empty()) {
      return problem;
    }
    if (reader.startsNoTool && outcome.toolStarted) return "a tool was started";
    return "";
  }

 private:
  Outcome Run(const ReaderCase& reader, const std::string& bytes, bool toolsPresent) {
    files_.Prepare(bytes, toolsPresent);
    const uint64_t logBefore = FileSize(log_);
    const std::string request = PutSandboxInJson(reader.request, folder_.utf8);
    Outcome outcome;
    outcome.reply = RunScriptCall(1, &request, environment_);
    outcome.fileAfter = files_.SubjectNow();
    outcome.toolStarted = FileSize(log_) != logBefore;
    return outcome;
  }

  // A damaged form that still reads answers as the same document written cleanly.
  std::string CleanFileProblem(const ReaderCase& reader, const FileVariant& variant, const Outcome& outcome,
                               const Json::Document& document) {
    const std::string scratch = folder_.ansi + "clean.json";
    JsonFile::Write(document, scratch);
    const std::string clean = testing_support::ReadFileBytes(scratch);
    const Outcome cleanOutcome = Run(reader, clean, false);
    if (outcome.reply != cleanOutcome.reply) {
      return "it reads as JSON but answers\n    " + Excerpt(outcome.reply.value_or(""), 400) +
             "\n  where the clean file answers\n    " + Excerpt(cleanOutcome.reply.value_or(""), 400);
    }
    const bool bothKept = outcome.fileAfter == variant.bytes && cleanOutcome.fileAfter == clean;
    if (!bothKept && outcome.fileAfter != cleanOutcome.fileAfter) return "the file ends other than the clean file";
    return "";
  }

  const DamagedFileCase& case_;
  const SandboxFolder& folder_;
  SampleFolder files_;
  SandboxChoosers choosers_;
  CountingWindow window_;
  CommandEnvironment environment_;
  std::string log_;
};

std::vector<FileVariant> VariantsOf(const DamagedFileCase& damaged, const std::string& valid) {
  if (damaged.fileName) return DamagedJsonVariants(valid, damaged.numberMember, damaged.stringMember);
  // The word the inventory's paused clone is found by.
  return DamagedWordVariants(valid, "\"store\\1\\1.vmx\"");
}

}  // namespace

int RunDamagedFileCase(int fileCase) {
  if (fileCase < 0 || static_cast<size_t>(fileCase) >= DamagedFileCases().size()) return 99;
  const DamagedFileCase& damaged = DamagedFileCases()[fileCase];
  SandboxProcess process;
  if (!process.error().empty()) {
    Report("SETUP FAILED: " + process.error());
    return kExitSetupFailed;
  }
  CaseGuard guard;
  DamagedFileChecker checker(damaged, process.folder());
  const std::vector<FileVariant> variants = VariantsOf(damaged, checker.ValidSubject());

  size_t failures = 0;
  size_t checks = 0;
  for (const FileVariant& variant : variants) {
    for (const ReaderCase& reader : damaged.readers) {
      const std::string description = std::string(damaged.name) + ", " + variant.name + ", " + reader.request;
      guard.Begin(description);
      const std::string problem = checker.Check(reader, variant);
      guard.End();
      ++checks;
      if (problem.empty()) continue;
      if (++failures <= kReportedFailures) Report("FAIL " + description + ": " + problem);
    }
  }
  Report("damaged files: " + std::string(damaged.name) + ", " + std::to_string(variants.size()) + " damaged forms, " +
         std::to_string(checks) + " commands run, " + std::to_string(failures) + " faults");
  if (failures > 0) Report(std::string("  rerun: fuzz_tests.exe --gtest_filter=DamagedFiles/*/") + damaged.name);
  return failures == 0 ? 0 : 1;
}
