#pragma once

namespace nagitori::test {

// The bytes of this process resident in memory now; 0 when /proc cannot tell.
long ResidentBytes();

}  // namespace nagitori::test
