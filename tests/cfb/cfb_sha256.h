// SHA-256 of a byte range as lowercase hex, so tests can compare stream bytes with the
// checksums that the fixture script recorded from an independent reader.
#pragma once

#include <cstddef>
#include <string>

namespace CfbTest {

std::string Sha256Hex(const void* data, size_t size);

}  // namespace CfbTest
