#pragma once

#include <exception>
#include <utility>

// Exceptions must not unwind through Qt's frames (Qt is built without exception
// tables), yet an error in a handler that runs nested inside another - a change
// event raised by a setText from code - must end the outer handler too.
// Every connected handler therefore runs guarded: the outermost guard shows the
// error; a nested one parks it, and the code that made the nested handler run
// picks it up with RethrowPending() as soon as Qt hands control back.
namespace platform {

namespace detail {
void RunGuarded(void (*invoke)(void *), void *handler);
} // namespace detail

// Rethrows the error parked by a nested handler, if any.
void RethrowPending();

// Wraps a handler for QObject::connect.
template <typename Handler>
auto Guarded(Handler handler)
{
    return [handler = std::move(handler)]() mutable {
        detail::RunGuarded([](void *h) { (*static_cast<Handler *>(h))(); }, &handler);
    };
}

} // namespace platform
