#pragma once
// Machine and snapshot identities in VirtualBox's form.

#include <string>
#include <string_view>

namespace standins {

// A random version-4 UUID, lower case: 8-4-4-4-12 hex digits.
std::string NewRandomUuid();

// "9f1c...-..." with or without braces -> the bare, lower-case form; "" when
// the text is not a UUID.
std::string CanonicalUuid(std::string_view text);

}  // namespace standins
