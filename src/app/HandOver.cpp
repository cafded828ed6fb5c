#include "app/HandOver.h"

#include <algorithm>

#include "app/HandOverTransport.h"

namespace nagitori {

namespace {

constexpr std::string_view kShow = "show";
constexpr std::string_view kTokenKey = "XDG_ACTIVATION_TOKEN";
constexpr std::string_view kStartupIdKey = "DESKTOP_STARTUP_ID";

// A value that fits on one line of the request; anything else is left out rather than sent cut.
bool IsLineText(std::string_view value) {
    return std::none_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; });
}

void AddLine(std::string& request, std::string_view key, std::string_view value) {
    if (!value.empty() && IsLineText(value)) {
        request.append(key).append("=").append(value).append("\n");
    }
}

}  // namespace

// "show", then one "KEY=value" line per part of the context the start has, then an empty line.
std::string EncodeRequest(const ActivationContext& context) {
    std::string request = std::string(kShow) + "\n";
    AddLine(request, kTokenKey, context.activationToken);
    AddLine(request, kStartupIdKey, context.startupId);
    return request + "\n";
}

std::optional<ActivationContext> DecodeRequest(std::string_view bytes) {
    const std::string_view::size_type end = bytes.find("\n\n");
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view lines = bytes.substr(0, end + 1);
    ActivationContext context;
    bool first = true;
    while (!lines.empty()) {
        const std::string_view::size_type newline = lines.find('\n');
        const std::string_view line = lines.substr(0, newline);
        lines.remove_prefix(newline + 1);
        if (first) {
            if (line != kShow) {
                return std::nullopt;
            }
            first = false;
            continue;
        }
        const std::string_view::size_type equals = line.find('=');
        if (equals == std::string_view::npos || !IsLineText(line)) {
            continue;
        }
        // Keys this copy does not know come from a newer start: what it knows still serves.
        const std::string_view key = line.substr(0, equals);
        const std::string value(line.substr(equals + 1));
        if (key == kTokenKey) {
            context.activationToken = value;
        } else if (key == kStartupIdKey) {
            context.startupId = value;
        }
    }
    return context;
}

std::string SafeName(std::string text) {
    for (char& c : text) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '_' || c == '-';
        if (!safe) {
            c = '_';
        }
    }
    return text;
}

InstanceClaim InstanceClaim::Claim(const std::string& socketPath, const ActivationContext& context,
                                   const HandOverBounds& bounds) {
    InstanceClaim claim;
    claim.socketPath_ = socketPath;
    if (socketPath.empty()) {
        return claim;
    }
    claim.lock_ = LockBeside(socketPath, bounds.lock);
    claim.handedOver_ = AskRunningCopy(socketPath, EncodeRequest(context), bounds.answer);
    if (claim.handedOver_) {
        claim.ReleaseLock();
    }
    return claim;
}

InstanceClaim ClaimRunningCopy() {
    return InstanceClaim::Claim(InstanceSocketPath(), ActivationContext::FromEnvironment());
}

}  // namespace nagitori
