#pragma once
// Runs the stand-ins (build/bin/standins/) the way Tarnwick does: the quoted
// program path, then the words, in the ANSI code page; each test has its own
// state folder and command-line log.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/test_support.h"

class StandinTest : public ::testing::Test {
 protected:
  // `arguments` goes after the quoted program path exactly as written.
  testing_support::ChildResult Run(const std::string& program, const std::string& arguments) const;
  std::string CommandLine(const std::string& program, const std::string& arguments) const;

  std::string LogBytes() const { return testing_support::ReadFileBytes(LogPath()); }
  std::string LogPath() const { return folder_ / "commands.log"; }
  std::string StateFolder() const { return folder_ / "state"; }

  testing_support::TempFolder folder_;
};

// A name with characters beyond ASCII that the ANSI code page can hold
// (Chinese under 936, Latin-1 under 1252), in UTF-8.
std::string LocalNameUtf8();

// UTF-8 text as the ANSI code page spells it.
std::string Ansi(const std::string& utf8);

// "<text>" in double quotes, as Tarnwick quotes a path or a name.
std::string Quoted(const std::string& text);

// The output's CR LF lines, without their ends.
std::vector<std::string> OutputLines(const std::string& output);
