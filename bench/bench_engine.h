#pragma once
// What every browser benchmark starts with: the engine with the application's
// WebApp, and a loop that runs it.

#include <functional>

// Starts the engine (the browser named by TARNWICK_BROWSER); false, with a
// message on standard error, when no browser could be started.
bool StartBenchEngine();

// Runs window messages and the engine until done() or timeoutMs pass.
// Returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
