#include "handler_guard.h"

#include "error_display.h"

namespace platform {

namespace {
int depth = 0;
std::exception_ptr pending;
} // namespace

namespace detail {

void RunGuarded(void (*invoke)(void *), void *handler)
{
    ++depth;
    std::exception_ptr error;
    try {
        invoke(handler);
        RethrowPending();
    } catch (...) {
        error = std::current_exception();
    }
    --depth;
    if (!error)
        return;
    if (depth > 0)
        pending = error;
    else
        ShowException(error);
}

} // namespace detail

void RethrowPending()
{
    if (pending)
        std::rethrow_exception(std::exchange(pending, nullptr));
}

} // namespace platform
