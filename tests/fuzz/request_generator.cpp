#include "tests/fuzz/request_generator.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/fuzz/json_pieces.h"
#include "tests/fuzz/sandbox_mark.h"

namespace {

// --- what the requests name ---

// Every command of the table, with how often it is sent. A command that runs
// the hypervisor tools costs about 0.1 s per tool run under Wine, so those are
// sent a thirtieth as often as the settings; all are sent many times.
struct FuncWeight {
  const char* name;
  unsigned weight;
  const char* members;  // the data members it reads, blank separated
};

constexpr FuncWeight kFuncs[] = {
    {"show", 9, "x y w h show"},
    {"minimize", 9, ""},
    {"close", 9, "tray"},
    {"move_begin", 9, ""},
    {"move_end", 9, ""},
    {"desktop_size", 9, ""},
    {"Vm_Clone_Settings", 30,
     "InstallationPath MasterPath StoragePath BootTask CloneType CloneNumber NamePrefix StartIntervalTime"},
    {"Vm_shoose_dir", 9, ""},
    {"Vm_Start_Cloning", 1, "number"},
    {"Vm_PowerON", 1, "type VmxId"},
    {"Vm_Reboot", 1, "type VmxId Restart_Type"},
    {"Vm_Pause", 1, "type VmxId"},
    {"Vm_UnPause", 1, "type VmxId"},
    {"Vm_Shutdown", 1, "type VmxId off_Type"},
    {"Vm_Delete", 1, "type VmxId"},
    {"FileDialog", 9, ""},
    {"Vm_shoose", 9, ""},
    {"resultjson", 9, ""},
    {"getlists", 1, ""},
    {"openUrl", 9, "url"},
    {"VboxPreferences", 30,
     "InstallationPath MasterName StoragePath CloneTypy CloneNumber NamePrefix StartIntervalTime"},
    {"ResultVBoxPrefs", 9, ""},
    {"getStatusVBoxlist", 1, ""},
    {"resultseLectlist", 1, ""},
    {"cloneVBox", 1, "number"},
    {"startVBox", 1, "type id"},
    {"offVBox", 1, "type id"},
    {"restVBox", 1, "type id"},
    {"delVBox", 1, "type id"},
    {"unpauseVBox", 1, "type id"},
    {"repauseVBox", 1, "type id"},
    {"vbox_shoose_dir", 9, ""},
    {"getversions", 9,
     "InstallationPath MasterPath MasterName StoragePath BootTask CloneType CloneTypy CloneNumber NamePrefix "
     "StartIntervalTime"},
};

constexpr const char* kLongWork[] = {"number", "CloneNumber", "StartIntervalTime"};

enum class Kind { Count, Interval, Selector, Position, Flag, ToolPath, FilePath, FolderPath, Machine, Word, Url, Any };

struct MemberKind {
  const char* name;
  Kind kind;
};

constexpr MemberKind kMemberKinds[] = {
    {"number", Kind::Count},          {"CloneNumber", Kind::Count},      {"StartIntervalTime", Kind::Interval},
    {"type", Kind::Selector},         {"VmxId", Kind::Selector},         {"id", Kind::Selector},
    {"Restart_Type", Kind::Selector}, {"off_Type", Kind::Selector},      {"x", Kind::Position},
    {"y", Kind::Position},            {"w", Kind::Position},             {"h", Kind::Position},
    {"show", Kind::Flag},             {"tray", Kind::Flag},              {"InstallationPath", Kind::ToolPath},
    {"MasterPath", Kind::FilePath},   {"StoragePath", Kind::FolderPath}, {"BootTask", Kind::Word},
    {"CloneType", Kind::Word},        {"CloneTypy", Kind::Word},         {"NamePrefix", Kind::Word},
    {"MasterName", Kind::Machine},    {"url", Kind::Url},
};

Kind KindOf(const std::string& name) {
  for (const MemberKind& member : kMemberKinds) {
    if (name == member.name) return member.kind;
  }
  return Kind::Any;
}

std::vector<std::string> Words(const char* blankSeparated) {
  std::vector<std::string> words;
  for (const char* at = blankSeparated; *at;) {
    const char* end = std::strchr(at, ' ');
    if (!end) end = at + std::strlen(at);
    if (end > at) words.emplace_back(at, end);
    at = *end ? end + 1 : end;
  }
  return words;
}

const FuncWeight& PickFunc(TextRandom& random) {
  unsigned total = 0;
  for (const FuncWeight& func : kFuncs) total += func.weight;
  size_t ticket = random.Below(total);
  for (const FuncWeight& func : kFuncs) {
    if (ticket < func.weight) return func;
    ticket -= func.weight;
  }
  return kFuncs[0];
}

// A value of another JSON type than the member wants, read leniently.
std::string OtherType(TextRandom& random) { return AnyValue(random, 2); }

// Numbers that make long work stay small: a run cannot legitimately take hours
// because a request asked for a million clones or a day between machines.
std::string LongWorkNumber(TextRandom& random, bool interval) {
  // Waits are mostly off: a positive interval waits that many seconds after
  // every machine of an all-clones operation.
  const int64_t number = interval ? (random.Percent(98) ? random.Between(-kLongWorkLimit, 0) : 1)
                                  : random.Between(-kLongWorkLimit, kLongWorkLimit);
  switch (random.Below(14)) {
    case 0: return Quoted(random, std::to_string(number));
    case 1: return Quoted(random, " " + std::to_string(number) + "abc");
    case 2: return std::to_string(number) + ".9";
    case 3: return random.Percent(50) ? "true" : "null";
    case 4: return "[" + std::to_string(number) + "]";
    default: return std::to_string(number);
  }
}

std::string SelectorNumber(TextRandom& random) {
  const size_t roll = random.Below(100);
  if (roll < 40) return "0";
  if (roll < 75) return "1";
  if (roll < 85) return std::to_string(random.Between(-1, 3));
  if (roll < 93) return NumberText(random);
  return OtherType(random);
}

// Mostly what a user would save (the stand-in of the command's own hypervisor,
// the master machine, a storage folder), so that the commands get to run the
// tools; otherwise garbage, or odd names inside the sandbox.
std::string PathValue(TextRandom& random, Kind kind, bool virtualBox) {
  const std::string sandbox = kSandboxMark;
  constexpr const char* kFolders[] = {"store\\", "store\\", "store\\", "vbox\\", "dir with space\\",
                                      "\xE5\x85\x8B\xE9\x9A\x86\\", "clon\xC3\xA9s\\", "store", "store\\0\\",
                                      "missing\\"};
  switch (random.Below(20)) {
    case 0: return "";
    case 1: return RandomText(random, 10);                      // garbage
    case 2: return sandbox + RandomText(random, 8);             // garbage inside the sandbox
    case 3: return sandbox + RandomText(random, 3) + "\\";       // an odd folder inside it
    default: break;
  }
  if (kind == Kind::ToolPath) {
    const bool own = random.Percent(85);
    const std::string tool = sandbox + "standins\\" + (own == virtualBox ? "VBoxManage.exe" : "vmrun.exe");
    if (random.Percent(8)) return tool;  // unquoted
    if (random.Percent(5)) return "\"" + sandbox + "missing\\vmrun.exe\"";
    return "\"" + tool + "\"";
  }
  if (kind == Kind::FilePath) return random.Percent(90) ? sandbox + "master\\master.vmx" : sandbox + "none.vmx";
  return sandbox + random.Pick(kFolders);
}

std::string WordValue(TextRandom& random) {
  constexpr const char* kWords[] = {"linked", "full", "link", "web", "vm", "master", "win10", "", "a b",
                                    "\xE5\x85\x8B\xE9\x9A\x86", "clon\xC3\xA9s", "vm\"x", "a\\b", "--name=x"};
  return random.Percent(60) ? random.Pick(kWords) : RandomText(random, 10);
}

std::string UrlValue(TextRandom& random) {
  constexpr const char* kUrls[] = {"https://example.com/", "http://127.0.0.1:1/", "file:///C:/Windows/",
                                   "C:\\Windows\\System32\\cmd.exe", "calc", "mailto:a@b.c", "\\\\server\\share", ""};
  return random.Percent(50) ? random.Pick(kUrls) : RandomText(random, 16);
}

std::string MemberValue(TextRandom& random, const std::string& name, bool virtualBox) {
  const Kind kind = KindOf(name);
  if (random.Percent(10)) return kind == Kind::Count || kind == Kind::Interval ? LongWorkNumber(random, false)
                                                                                : OtherType(random);
  switch (kind) {
    case Kind::Count: return LongWorkNumber(random, false);
    case Kind::Interval: return LongWorkNumber(random, true);
    case Kind::Selector: return SelectorNumber(random);
    case Kind::Position: return NumberText(random);
    case Kind::Flag: return random.Percent(40) ? "true" : random.Percent(50) ? "false" : NumberText(random);
    case Kind::ToolPath:
    case Kind::FilePath:
    case Kind::FolderPath: return Quoted(random, PathValue(random, kind, virtualBox));
    case Kind::Machine: return Quoted(random, random.Percent(75) ? "master" : WordValue(random));
    case Kind::Word: return Quoted(random, WordValue(random));
    case Kind::Url: return Quoted(random, UrlValue(random));
    case Kind::Any: break;
  }
  return AnyValue(random, 1);
}

// --- whole requests ---

std::string NearMissName(TextRandom& random) {
  std::string name = kFuncs[random.Below(std::size(kFuncs))].name;
  switch (random.Below(8)) {
    case 0: name[random.Below(name.size())] ^= 0x20; break;  // letter case
    case 1: name += " "; break;
    case 2: name = " " + name; break;
    case 3: name.pop_back(); break;
    case 4: name.push_back('\0'); break;
    case 5: name += "x"; break;
    case 6: std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c ^ 0x20; }); break;
    default: name.insert(random.Below(name.size()), "\xC2\xA0"); break;  // no-break space inside
  }
  return name;
}

std::string FuncValue(TextRandom& random, const FuncWeight& func) {
  const size_t roll = random.Below(100);
  if (roll < 84) return Quoted(random, func.name);
  if (roll < 92) return Quoted(random, NearMissName(random));
  if (roll < 96) return OtherType(random);
  return Quoted(random, RandomText(random, 12));
}

std::string TagValue(TextRandom& random) {
  if (random.Percent(60)) return std::to_string(random.Between(0, 100000));
  if (random.Percent(40)) return NumberText(random);
  constexpr const char* kTags[] = {"12", " 7", "-3x", "abc", "", "2147483648", "+5", "0012"};
  if (random.Percent(50)) return Quoted(random, random.Pick(kTags));
  return OtherType(random);
}

std::string DataValue(TextRandom& random, const FuncWeight& func) {
  if (random.Percent(5)) return OtherType(random);
  std::vector<std::string> names = Words(func.members);
  const bool virtualBox = std::strstr(func.members, "MasterName") && !std::strstr(func.members, "MasterPath");
  if (random.Percent(15)) names.push_back(kMemberKinds[random.Below(std::size(kMemberKinds))].name);
  if (random.Percent(10)) names.push_back(RandomText(random, 6));
  if (random.Percent(3) && !names.empty()) names.push_back(names[random.Below(names.size())]);  // twice
  std::string out = "{" + Gap(random);
  bool first = true;
  for (const std::string& name : names) {
    if (random.Percent(6)) continue;
    if (!first) out += "," + Gap(random);
    first = false;
    out += Quoted(random, name) + Gap(random) + ":" + Gap(random) + MemberValue(random, name, virtualBox) + Gap(random);
  }
  if (!first && random.loose && random.Percent(10)) out += ",";
  return out + "}";
}

std::string MemberRequest(TextRandom& random) {
  const FuncWeight& func = PickFunc(random);
  std::vector<std::string> members;
  if (!random.Percent(3)) members.push_back("\"func\"" + Gap(random) + ":" + Gap(random) + FuncValue(random, func));
  if (random.Percent(85)) members.push_back("\"tag\":" + Gap(random) + TagValue(random));
  if (random.Percent(92)) members.push_back("\"data\":" + Gap(random) + DataValue(random, func));
  if (random.Percent(5)) members.push_back(Quoted(random, RandomText(random, 5)) + ":" + AnyValue(random, 1));
  if (random.Percent(10) && members.size() > 1) std::swap(members[0], members[random.Below(members.size())]);
  std::string out = Gap(random) + "{" + Gap(random);
  for (size_t i = 0; i < members.size(); ++i) out += (i ? "," + Gap(random) : "") + members[i];
  out += Gap(random) + "}" + Gap(random);
  if (random.loose && random.Percent(10)) out += random.Percent(50) ? "garbage" : "{\"func\":\"close\"}";  // after the value
  return out;
}

// Byte-level damage to a valid request: the mistakes a broken page, a cut
// transfer or a bit flip would make.
void Mutate(TextRandom& random, std::string& text) {
  constexpr char kBytes[] = {'"', '\\', '{', '}', '[', ']', ',', ':', '\0', '\xFF', '\xC3', ' ', '0', '-', '/', '*'};
  constexpr const char* kTokens[] = {"null", "true", "\"", "\\u", "\\ud800", "1e999", "-", "{}", "[]", "//", "/*",
                                     ",", "\"func\":\"getlists\",", "\"data\":", "\xEF\xBB\xBF"};
  const size_t at = random.Below(text.size() + 1);
  switch (random.Below(7)) {
    case 0: text.resize(at); break;
    case 1:
      if (at < text.size()) text[at] ^= static_cast<char>(1 << random.Below(8));
      break;
    case 2:
      if (at < text.size()) text[at] = random.Pick(kBytes);
      break;
    case 3:
      for (size_t i = random.Below(8) + 1; i > 0; --i) text.insert(text.begin() + at, random.Byte());
      break;
    case 4: text.erase(at, random.Below(16) + 1); break;
    case 5: text.insert(at, text.substr(random.Below(text.size() + 1), random.Below(24) + 1)); break;
    default: text.insert(at, random.Pick(kTokens)); break;
  }
}

std::string RandomBytes(TextRandom& random) {
  std::string bytes;
  const size_t length = random.Below(80);
  const bool jsonish = random.Percent(50);
  for (size_t i = 0; i < length; ++i) {
    bytes.push_back(jsonish ? "{}[]\":,0123456789-+.eEtrufalsn \\/u"[random.Below(35)] : random.Byte());
  }
  return bytes;
}

constexpr size_t kDeep = 100000;
constexpr size_t kHuge = 10 * 1024 * 1024;

std::string DeepRequest(TextRandom& random) {
  switch (random.Below(7)) {
    case 0: return Repeat("[", kDeep);
    case 1: return Repeat("[", kDeep) + Repeat("]", kDeep);
    case 2: return R"({"func":"getlists","tag":1,"data":)" + Repeat("{\"a\":", kDeep) + "1" + Repeat("}", kDeep) + "}";
    case 3:
      return R"({"func":"Vm_Clone_Settings","tag":2,"data":{"StoragePath":)" + Repeat("[", kDeep) +
             Repeat("]", kDeep) + "}}";
    case 4: return R"({"func":"show","tag":3})" + Repeat("[", kDeep);  // after the first value
    case 5: {
      // Just inside what the reader takes (root, data, member: 3 levels).
      const size_t levels = 997;
      return R"({"func":"VboxPreferences","tag":4,"data":{"NamePrefix":)" + Repeat("[", levels) +
             Repeat("]", levels) + "}}";
    }
    default: return R"({"func":"openUrl","tag":5,"data":{"url":")" + Repeat("\\\\", kDeep) + "\"}}";
  }
}

std::string HugeRequest(TextRandom& random) {
  switch (random.Below(8)) {
    case 0: return "{\"func\":\"" + std::string(kHuge, 'A') + "\",\"tag\":1}";
    case 1: return "{\"func\":\"Vm_PowerON\",\"tag\":\"1" + std::string(kHuge, '9') + "\"}";
    case 2: return "{\"func\":\"openUrl\",\"data\":{\"url\":\"" + Repeat("\xE5\x85\x8B", kHuge / 3) + "\"}}";
    case 3: return "{\"func\":\"" + std::string(kHuge, '\xFF') + "\",\"tag\":3}";
    case 4: return "{\"func\":\"getversions\",\"tag\":" + std::string(kHuge, '1') + "}";
    case 5: return std::string(kHuge, ' ') + "{\"func\":\"desktop_size\",\"tag\":5}";
    case 6:
      return "{\"func\":\"Vm_Clone_Settings\",\"tag\":6,\"data\":{\"StoragePath\":\"" + std::string(kHuge, 'a') +
             "\",\"CloneNumber\":1}}";
    default:
      return "{\"func\":\"VboxPreferences\",\"tag\":7,\"data\":{\"NamePrefix\":\"" + Repeat("\\u4e2d", kHuge / 6) +
             "\"}}";
  }
}

int CallbackId(TextRandom& random) {
  const size_t roll = random.Below(100);
  if (roll < 90) return static_cast<int>(random.Between(1, 1000));
  if (roll < 95) return 0;
  if (roll < 98) return static_cast<int>(random.Between(-1000, -1));
  return random.Percent(50) ? 2147483647 : -2147483647 - 1;
}

}  // namespace

std::span<const char* const> LongWorkMembers() { return kLongWork; }

FuzzRequest GenerateRequest(FuzzRandom& source, uint64_t index) {
  TextRandom random(source);
  FuzzRequest request;
  request.callbackId = CallbackId(random);
  if (index % 2000 == 1999) {
    request.kind = "10 MB";
    request.text = HugeRequest(random);
    return request;
  }
  if (index % 200 == 199) {
    request.kind = "deep";
    request.text = DeepRequest(random);
    return request;
  }
  const size_t roll = random.Below(100);
  if (roll < 70) {
    request.kind = "members";
    request.text = MemberRequest(random);
  } else if (roll < 88) {
    request.kind = "mutated";
    request.text = MemberRequest(random);
    for (size_t i = random.Below(4) + 1; i > 0; --i) Mutate(random, request.text);
  } else if (roll < 93) {
    request.kind = "value";
    request.text = AnyValue(random, 0);
  } else if (roll < 99) {
    request.kind = "bytes";
    request.text = RandomBytes(random);
  } else {
    request.kind = "none";
    request.present = false;
  }
  return request;
}
