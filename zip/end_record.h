// The end-of-central-directory check made before libzip sees an archive: finds the last
// end record and refuses split archives, zip64 archives (locator present, or a field at
// its zip64 marker) and entry counts past the caller's limit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Zip {

bool CheckEndRecord(const uint8_t* data, size_t size, uint64_t maxEntries);

}  // namespace Zip
