#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/ActivationContext.h"

// The start of a copy of the program, before any GUI exists: ask the running copy to come forward, else become
// the running copy. No Qt GUI type may be used here, so that a second start costs a process start and one round
// trip.
namespace nagitori {

// How long a start waits. The lock is held by a copy from its question to the moment it serves, which spans its
// whole start-up; the answer of a serving copy comes at once unless it is stopped or frozen.
struct HandOverBounds {
    std::chrono::milliseconds lock{5000};
    std::chrono::milliseconds answer{1000};
};

class InstanceClaim {
public:
    // Under the start-up lock, asks the copy listening on `socketPath` to come forward with `context`. When it
    // answers, this start has handed over. Otherwise this start is to be the running copy: it keeps the lock
    // until it serves on `socketPath` (`ReleaseLock`), so that copies started at the same moment wait for it
    // instead of starting too. An empty path (no private place for the socket): every copy runs on its own.
    static InstanceClaim Claim(const std::string& socketPath, const ActivationContext& context,
                               const HandOverBounds& bounds = {});

    bool HandedOver() const { return handedOver_; }
    const std::string& SocketPath() const { return socketPath_; }
    // Lets the next start ask; also done when the claim ends.
    void ReleaseLock() { lock_.reset(); }

private:
    std::string socketPath_;
    bool handedOver_ = false;
    std::shared_ptr<void> lock_;
};

// The socket of this user on this display: in $XDG_RUNTIME_DIR, else in a folder of the user's own in the
// temporary folder; empty when neither can be had safely. The start-up lock is a file beside it.
std::string InstanceSocketPath();

// The claim of this process's start: its own socket and activation context.
InstanceClaim ClaimRunningCopy();

// The request a later start sends, and the running copy's answer to a request it has taken.
std::string EncodeRequest(const ActivationContext& context);
// The context of a complete request, or nothing when `bytes` is not one (yet).
std::optional<ActivationContext> DecodeRequest(std::string_view bytes);
inline constexpr std::string_view kHandOverAnswer = "ok\n";
// A request is never longer; a peer that sends more is not a start of this program.
inline constexpr std::size_t kMaxRequestBytes = 4096;

}  // namespace nagitori
