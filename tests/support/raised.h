#pragma once
// Runs code with the error channel in throwing mode and hands back the error
// it raised, if any.
#include <optional>

#include "base/debug.h"

namespace qeltest {

template <class F>
std::optional<xDebug::eEx_Custom> Raised(F&& f) {
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        f();
    } catch (const xDebug::eEx_Custom& e) {
        return e;
    }
    return std::nullopt;
}

/// The message of the error f raised; "" when it raised none.
template <class F>
std::string RaisedMessage(F&& f) {
    std::optional<xDebug::eEx_Custom> e = Raised(std::forward<F>(f));
    return e ? e->message : std::string();
}

}  // namespace qeltest
