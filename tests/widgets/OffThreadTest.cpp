#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/ResidentMemory.h"
#include "widgets/OffThread.h"

namespace nagitori::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Showing looked-up icons reads the icon theme on the window's thread and frees most of what it read; the few
// things it keeps lie among the freed pages, which stay with the program unless they are handed back.
TEST(OffThread, PagesFreedWhileDeliveringGoBackToTheSystem) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "AddressSanitizer holds freed memory in a quarantine of its own";
    }
    constexpr int kBlocks = 65536;
    constexpr size_t kBlockBytes = 256;  // 16 MiB in all, well below the size glibc maps on its own
    constexpr int kKeepEvery = 256;      // one block kept in every 64 KiB
    QObject owner;
    auto* lookups = new OffThread(&owner);
    std::vector<void*> kept;
    kept.reserve(kBlocks / kKeepEvery);
    bool delivered = false;
    const long before = ResidentBytes();
    lookups->Run<int>([] { return 1; },
                      [&](const int&) {
                          std::vector<void*> blocks(kBlocks);
                          for (void*& block : blocks) {
                              block = std::malloc(kBlockBytes);
                              std::memset(block, 1, kBlockBytes);
                          }
                          for (int i = 0; i < kBlocks; ++i) {
                              if (i % kKeepEvery == 0) {
                                  kept.push_back(blocks[static_cast<size_t>(i)]);
                              } else {
                                  std::free(blocks[static_cast<size_t>(i)]);
                              }
                          }
                          delivered = true;
                      });
    ASSERT_TRUE(QTest::qWaitFor([&delivered] { return delivered; }, 10000));
    const long grown = ResidentBytes() - before;
    for (void* block : kept) {
        std::free(block);
    }
    EXPECT_LT(grown, 4L * 1024 * 1024);
}

}  // namespace
}  // namespace nagitori::test
