#pragma once
// The command line that starts the browser headless, reachable over the
// DevTools protocol on 127.0.0.1 only.

#include <string>

#include "engine/launch/browser_options.h"

// userDataArgument: the profile folder as the program must read it (a Unix
// path for a Unix program under Wine). Extra switches that would change what
// this layer guarantees (the debugging address, port and profile, and
// --remote-allow-origins, which would let any web page drive the browser) are
// left out.
std::wstring BrowserCommandLine(const BrowserOptions& options, const std::string& userDataArgument);

// One argument written so that CommandLineToArgvW (and Wine, for a Unix
// program) reads it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);
