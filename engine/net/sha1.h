#pragma once
// SHA-1 digest. Only the WebSocket handshake uses it (the server proves it
// read our key); it is not used for anything that needs collision resistance.

#include <array>
#include <cstdint>
#include <string_view>

std::array<uint8_t, 20> Sha1(std::string_view data);
