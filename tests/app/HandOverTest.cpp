#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>

#include "app/HandOver.h"
#include "support/TempDir.h"

namespace nagitori::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST(HandOverRequest, CarriesTheActivationContext) {
    const struct {
        ActivationContext sent;
        ActivationContext received;
    } cases[] = {
        {{}, {}},
        {{"token-1", "host-12-x_TIME4711"}, {"token-1", "host-12-x_TIME4711"}},
        {{"", "only-id_TIME1"}, {"", "only-id_TIME1"}},
        {{"a=b c", ""}, {"a=b c", ""}},
        // A value that would break the request's lines is left out, not sent cut.
        {{"tok\nDESKTOP_STARTUP_ID=forged", "id\r"}, {}},
    };
    for (const auto& c : cases) {
        const std::optional<ActivationContext> decoded = DecodeRequest(EncodeRequest(c.sent));
        ASSERT_TRUE(decoded.has_value()) << c.sent.activationToken;
        EXPECT_EQ(decoded->activationToken, c.received.activationToken);
        EXPECT_EQ(decoded->startupId, c.received.startupId);
    }
}

TEST(HandOverRequest, OnlyAWholeRequestCounts) {
    for (const std::string_view bytes :
         {"", "show\n", "show\nXDG_ACTIVATION_TOKEN=a\n", "\n\n", "hello\n\n", "show \n\n", "ok\n"}) {
        EXPECT_FALSE(DecodeRequest(bytes).has_value()) << bytes;
    }
    // Keys of a newer start and lines without a key are passed over.
    const auto decoded = DecodeRequest("show\nNEW_KEY=1\nnonsense\nDESKTOP_STARTUP_ID=s_TIME9\n\ntrailing");
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->startupId, "s_TIME9");
    EXPECT_EQ(decoded->activationToken, "");
}

TEST(ActivationContextTime, ComesFromTheStartupIdUnlessKnown) {
    const struct {
        std::string startupId;
        std::uint32_t userTime;
        std::uint32_t expected;
    } cases[] = {
        {"host-1234-machine-prog-0_TIME56789", 0, 56789},
        {"a_TIME1_TIME2", 0, 2},
        {"no-time", 0, 0},
        {"x_TIME", 0, 0},
        {"x_TIME12a", 0, 0},
        {"x_TIME99999999999", 0, 0},
        {"x_TIME5", 77, 77},
        {"", 77, 77},
    };
    for (const auto& c : cases) {
        ActivationContext context;
        context.startupId = c.startupId;
        context.userTime = c.userTime;
        EXPECT_EQ(context.X11Time(), c.expected) << c.startupId;
    }
}

// A socket that takes connections into its backlog and never answers: a stopped copy.
int ListenWithoutAnswering(const std::filesystem::path& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(fd, 8), 0);
    return fd;
}

TEST(InstanceClaim, ACopyThatDoesNotAnswerIsNoHandOver) {
    TempDir dir;
    const std::string socket = (dir / "nagitori.socket").string();
    EXPECT_FALSE(InstanceClaim::Claim(socket, {}).HandedOver());

    const int silent = ListenWithoutAnswering(socket);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(InstanceClaim::Claim(socket, {"t", "i"}, {milliseconds(1000), milliseconds(300)}).HandedOver());
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, milliseconds(280));
    EXPECT_LT(waited, milliseconds(3000));
    close(silent);
}

TEST(InstanceClaim, LaterStartsWaitUntilTheClaimingCopyServes) {
    TempDir dir;
    const std::string socket = (dir / "nagitori.socket").string();
    InstanceClaim first = InstanceClaim::Claim(socket, {});
    ASSERT_FALSE(first.HandedOver());

    std::future<bool> waiting = std::async(std::launch::async, [&socket] {
        return InstanceClaim::Claim(socket, {}, {milliseconds(10000), milliseconds(300)}).HandedOver();
    });
    EXPECT_EQ(waiting.wait_for(milliseconds(400)), std::future_status::timeout);
    first.ReleaseLock();
    ASSERT_EQ(waiting.wait_for(milliseconds(5000)), std::future_status::ready);
    EXPECT_FALSE(waiting.get());

    // A copy stopped in the middle of its start keeps the lock: the next start goes on after its bound.
    InstanceClaim stuck = InstanceClaim::Claim(socket, {});
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(InstanceClaim::Claim(socket, {}, {milliseconds(200), milliseconds(200)}).HandedOver());
    EXPECT_GE(Clock::now() - start, milliseconds(190));
}

}  // namespace
}  // namespace nagitori::test
