// ParseNameValueLines: the name -> value lines of "VBoxManage list vms".

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "vbox/vbox_selection.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

struct Case {
  const char* text;
  Entries entries;  // in map order
};

const Case kCases[] = {
    // the tool's lines: quoted name, a space, the UUID in braces; listed in byte order
    {"\"win10\" {a-1}\r\n\"master\" {b-2}\r\n", {{"master", "{b-2}"}, {"win10", "{a-1}"}}},
    // spaces belong to the name
    {"\"Windows 10 x64\" {c-3}\r\n", {{"Windows 10 x64", "{c-3}"}}},
    // plain byte order: capitals first, a prefix before its longer names, high bytes last
    {"\"vm2\" {1}\r\n\"vm10\" {2}\r\n\"\xC4\" {3}\r\n\"vm1\" {4}\r\n\"VM\" {5}\r\n",
     {{"VM", "{5}"}, {"vm1", "{4}"}, {"vm10", "{2}"}, {"vm2", "{1}"}, {"\xC4", "{3}"}}},
    // a name seen twice keeps its later value
    {"\"a\" {1}\r\n\"a\" {2}\r\n", {{"a", "{2}"}}},
    // a name without a value at the end is dropped
    {"\"a\" {1}\r\n\"b\"", {{"a", "{1}"}}},
    {"\"a\" {1}\r\n\"b\"  \r\n", {{"a", "{1}"}}},
    // tabs separate too; LF alone ends a line
    {"\t\"x\"\t{1}\n\"y\" {2}", {{"x", "{1}"}, {"y", "{2}"}}},
    // text that is not a list pairs its lines
    {"alpha beta\r\ngamma\r\n", {{"alpha beta", "gamma"}}},
    // nothing to read
    {"", {}},
    {" \r\n\t\"\"", {}},
};

TEST(ParseNameValueLines, Cases) {
  for (const Case& c : kCases) {
    const auto parsed = ParseNameValueLines(c.text);
    EXPECT_EQ(Entries(parsed.begin(), parsed.end()), c.entries) << c.text;
  }
}

}  // namespace
