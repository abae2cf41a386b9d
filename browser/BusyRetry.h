// When a call that a busy browser rejected is tried again: the decision of the
// browser worker's COM message filter (IMessageFilter::RetryRejectedCall), apart
// from COM so that it can be tested anywhere.
#pragma once

#include <cstdint>

namespace busy_retry {

// The reject types COM passes (SERVERCALL_REJECTED, SERVERCALL_RETRYLATER).
const std::uint32_t kRejected = 1;
const std::uint32_t kRetryLater = 2;
// How long a rejected call is tried again before it fails, and the pause between tries.
const std::uint32_t kBoundMs = 5000;
const std::int32_t kPauseMs = 200;

}  // namespace busy_retry

// What RetryRejectedCall returns for a call rejected `elapsedMs` after it was
// first made: the pause in milliseconds before the next try, or -1 to give up
// (the call then fails with RPC_E_CALL_REJECTED and the run goes on to its guard).
std::int32_t RetryRejectedCallDelay(std::uint32_t elapsedMs, std::uint32_t rejectType,
                                    std::uint32_t boundMs = busy_retry::kBoundMs);
