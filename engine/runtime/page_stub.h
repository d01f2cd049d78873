#pragma once
// The script the layer puts into every document of its pages, before the
// page's own scripts run. It is the page half of native functions: a native
// function defined in a context becomes a page function that reports its call
// (its arguments copied, page functions kept in a table under a handle) to
// the layer through the DevTools binding kBindingName.

#include <string>
#include <vector>

inline constexpr char kBindingName[] = "__tarnwickBinding";

// The stub, defining page functions for the given names.
std::string PageStubSource(const std::vector<std::string>& functionNames);

// Defines one more page function in a context that already has the stub.
std::string DefineFunctionSource(const std::string& name);

// Calls a page function kept under a handle with JSON-made arguments.
inline constexpr char kInvokeFunctionDeclaration[] = "function (h, a) { return window.__tarnwick.invoke(h, a); }";
inline constexpr char kReleaseFunctionDeclaration[] = "function (h) { window.__tarnwick.release(h); }";
