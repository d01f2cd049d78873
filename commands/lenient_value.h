#pragma once
// Forgiving reads of request members: a missing member or one of the wrong
// kind never fails, it reads as 0, "" or false.
//
//  read       | absent/null | number                         | string           | bool       | array/object
//  AsInt      | 0           | int32 (real truncated), 0 when | leading decimal  | 0          | 0
//             |             | it does not fit                | number (atoi)    |            |
//  AsString   | ""          | decimal text                   | the text         | true/false | ""
//  AsBool     | false       | not zero                       | false            | the value  | false

#include <string>

#include <nlohmann/json.hpp>

class LenientValue {
 public:
  LenientValue() = default;
  explicit LenientValue(const nlohmann::ordered_json* value) : value_(value) {}

  // The member `name`; absent when this is not an object or has no such member.
  LenientValue operator[](const char* name) const;

  int AsInt() const;
  std::string AsString() const;
  bool AsBool() const;

 private:
  const nlohmann::ordered_json* value_ = nullptr;
};
