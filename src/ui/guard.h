// ui/, the helpers under every window (they include none): the error boundary of every event handler.
#pragma once

#include <functional>
#include <utility>

// The boundary of every event handler: an error raised while an event is handled is reported in
// the standard error box, the event is abandoned and the program goes on. No exception ever
// travels through Qt's event loop. Returns whether the handler ran to its end.
bool RunGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): Guard([this] { SpeedButton3Click(); }).
template <typename F> auto Guard(F handler) {
    return [handler = std::move(handler)]() mutable { RunGuarded(handler); };
}
