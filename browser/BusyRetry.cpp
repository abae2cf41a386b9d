#include "browser/BusyRetry.h"

std::int32_t RetryRejectedCallDelay(std::uint32_t elapsedMs, std::uint32_t rejectType, std::uint32_t boundMs) {
    const bool busy = rejectType == busy_retry::kRejected || rejectType == busy_retry::kRetryLater;
    if (!busy || elapsedMs >= boundMs) return -1;
    return busy_retry::kPauseMs;
}
