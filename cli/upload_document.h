// The companion's check of a JSON file before it is uploaded: a regular file of at most
// kMaxUploadBytes holding one JSON array, as the build writes it. The window never needs
// this: it sends what its own build wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uintmax_t kMaxUploadBytes = std::uintmax_t{16} << 20;

// Why `path` must not be sent, in words for the user; nothing when it may be. A path that
// cannot be read at all is let through: the upload itself reports it as unopenable.
std::optional<std::string> UploadRefusal(const std::string& path);
