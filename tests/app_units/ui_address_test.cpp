#include "app/ui_address.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kDefault[] = L"http://default/";

struct AddressCase {
  const wchar_t* commandLine;
  std::wstring address;
};

const std::wstring kLong(600, L'a');

const AddressCase kCases[] = {
    {L"tarnwick.exe", kDefault},                                                    // no address: the default
    {L"", kDefault},                                                                // no command line at all
    {L"tarnwick.exe http://h:1/p.html --flag", L"http://h:1/p.html"},               // the option is not part of it
    {L"tarnwick.exe \"http://h:1/p.html\" --flag", L"http://h:1/p.html"},           // a double quote ends it
    {L"\"C:\\httpd\\tarnwick.exe\" http://h:1/", L"http://h:1/"},                   // quoted program path skipped
    {L"C:\\httpd\\tarnwick.exe http://h:1/", L"http://h:1/"},                       // unquoted program path skipped
    {L"\"C:\\my http\\tarnwick.exe\"", kDefault},                                   // "http" only in the path
    {L"\"C:\\my http\\tarnwick.exe\" https://h/", L"https://h/"},                   // ...and the argument after it
    {L"tarnwick.exe HTTP://h/", kDefault},                                          // case-sensitive
    {L"tarnwick.exe --page=http://h/x,y", L"http://h/x,y"},                          // found inside a word; commas stay
    {L"tarnwick.exe http://h/a\tb", L"http://h/a"},                                 // tab ends it
    {L"tarnwick.exe http://h/a\rb", L"http://h/a"},                                 // carriage return ends it
    {L"tarnwick.exe http://h/a\nb", L"http://h/a"},                                 // line feed ends it
    {L"  tarnwick.exe http://h/", L"http://h/"},                                    // white space before the path
};

TEST(UiAddress, TakesTheFirstHttpWordAfterTheProgramPath) {
  for (const AddressCase& c : kCases) EXPECT_EQ(UiAddressFromCommandLine(c.commandLine, kDefault), c.address) << c.commandLine;
}

TEST(UiAddress, CutsALongAddressTo511Units) {
  const std::wstring address = UiAddressFromCommandLine(L"t.exe http://" + kLong + L" x", kDefault);
  EXPECT_EQ(address, (L"http://" + kLong).substr(0, 511));
}

TEST(UiAddress, TheBuiltInAddressIsOnTheLoopback) {
  EXPECT_EQ(UiAddressFromCommandLine(L"tarnwick.exe", kDefaultUiAddress), L"http://127.0.0.1:18088/index.html");
}

}  // namespace
