#pragma once
// The test program can stand in for a Windows browser: started with the
// extra switch below, it serves /json/version on its debugging port until it
// is ended, so the Windows side of the launch (process handle, job object)
// is exercised without a real browser. The version reply also carries the
// arguments it was started with, as "arguments" (UTF-8).

inline constexpr char kFakeBrowserSwitch[] = "twk-fake-browser";
// The same, for a browser that ends at once without opening its port.
inline constexpr char kFakeBrowserThatEndsSwitch[] = "twk-fake-browser-that-ends";
