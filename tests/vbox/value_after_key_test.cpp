// ValueAfterKey: the value of a "key: value" line of showvminfo output.

#include <gtest/gtest.h>

#include "vbox/vbox_status.h"

namespace {

struct Case {
  const char* text;
  const char* key;
  const char* value;
};

const Case kCases[] = {
    // the padded line of the tool, up to CR LF
    {"Name:                        vm0\r\nUUID:                        1b2c3d4e-0000-4000-8000-00000000000a\r\n"
     "Config file:                 C:\\vms\\vm0.vbox\r\n",
     "UUID", "1b2c3d4e-0000-4000-8000-00000000000a"},
    // a state with a time stamp keeps its spaces and colons
    {"State:                       saved (since 2026-12-11T09:30:00.000000000)\r\n", "State",
     "saved (since 2026-12-11T09:30:00.000000000)"},
    // a key made of two words; tabs and colons before the value are skipped, spaces inside kept
    {"Config file:\t: C:\\VirtualBox VMs\\a b\\a b.vbox\r\n", "Config file", "C:\\VirtualBox VMs\\a b\\a b.vbox"},
    // spaces at the end of the value stay
    {"State: running  \r\n", "State", "running  "},
    // the last line needs no line end; LF alone ends a line
    {"Name: a\nState: running", "State", "running"},
    // no value before the line end
    {"UUID:    \r\nState: running\r\n", "UUID", ""},
    {"UUID", "UUID", ""},
    // the key is not there at all
    {"Name: vm0\r\n", "State", ""},
    {"", "UUID", ""},
    // the first key line counts
    {"State: paused\r\nState: running\r\n", "State", "paused"},
    // a key word inside a name, a path or a longer key is no key line
    {"Name:   StateServer\r\nState:  paused (since x)\r\n", "State", "paused (since x)"},
    {"Config file: D:\\VM States\\vm0.vbox\r\nState: running\r\n", "State", "running"},
    {"Hardware UUID: 11\r\nUUIDs: 2\r\nUUID: 33\r\n", "UUID", "33"},
    // an error text about a machine gives nothing
    {"VBoxManage.exe: error: Could not find a registered machine with UUID {1234}\r\n", "UUID", ""},
};

TEST(ValueAfterKey, Cases) {
  for (const Case& c : kCases) EXPECT_EQ(ValueAfterKey(c.text, c.key), c.value) << c.text;
}

}  // namespace
