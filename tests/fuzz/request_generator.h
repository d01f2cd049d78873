#pragma once
// Generated and mutated page requests: every command name and near misses,
// members of every JSON type, random bytes, broken and mutated JSON, nesting
// 100,000 deep and strings of 10 MB. Paths are written with kSandboxMark.

#include <cstdint>
#include <span>
#include <string>

#include "tests/fuzz/fuzz_random.h"

struct FuzzRequest {
  bool present = true;  // false: the call carries no request text at all
  int callbackId = 1;   // 0: the page wants no reply
  std::string text;     // the request bytes, kSandboxMark where the sandbox folder goes
  const char* kind = "";  // how it was made, for the failure report
};

// Request `index` of a run; everything comes from `random` except that every
// 2,000th request is one with a 10 MB string and every 200th one nested
// 100,000 deep, so that each run has a few of them.
FuzzRequest GenerateRequest(FuzzRandom& random, uint64_t index);

// Members whose number makes legitimately long work (clones made, machines
// walked, seconds waited); the generator keeps them within this range.
inline constexpr int kLongWorkLimit = 3;
std::span<const char* const> LongWorkMembers();
