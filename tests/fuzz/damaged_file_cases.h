#pragma once
// Every settings and list file the commands read, with every command that
// reads it and the answer it gives when the file is there but unreadable.

#include <span>

// What becomes of the damaged file when a command has run.
enum class FileAfter {
  Kept,     // left exactly as it was
  Removed,  // deleted (deleting every VirtualBox clone removes the list)
  Rebuilt,  // written anew from other sources, whatever it held
};

struct ReaderCase {
  const char* request;  // kSandboxMark where the sandbox folder goes
  // The answer when the file cannot be read. data is JSON; a member given as
  // an object stands for the reply member's text read as JSON.
  int code;
  const char* msg;
  const char* data;
  FileAfter file;
  bool startsNoTool;  // then no tool is started either
};

struct DamagedFileCase {
  const char* name;          // the test's name
  const char* fileName;      // in the program folder; nullptr: Workstation's inventory
  const char* numberMember;  // JSON files: members of the sample holding a number and a string
  const char* stringMember;
  bool vmwareToolMissing;    // the VMware settings name a vmrun.exe that is not there
  std::span<const ReaderCase> readers;
};

std::span<const DamagedFileCase> DamagedFileCases();

// The valid files every case starts from (kSandboxMark where the sandbox goes):
// a JSON document for the program's own files, the text for the inventory.
struct SampleFile {
  const char* fileName;
  const char* content;
};
std::span<const SampleFile> SampleFiles();
inline constexpr char kInventorySample[] = "inventory";  // SampleFile name of Workstation's inventory

// The clone folders the samples' storage folder holds (their .vmx files too).
inline constexpr const char* kCloneFolders[] = {"store\\0", "store\\1"};
