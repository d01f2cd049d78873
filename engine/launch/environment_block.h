#pragma once
// The environment a child process starts with: ours, with one variable set.

#include <string>

// A UTF-16 environment block (entries "NAME=value", each ending in a zero, the
// block in another) for CreateProcessW with CREATE_UNICODE_ENVIRONMENT.
std::wstring EnvironmentWith(const std::wstring& name, const std::wstring& value);
