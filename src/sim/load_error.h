#pragma once
// The one failure of scene loading: where in the file (a JSON pointer) and why.
#include <stdexcept>
#include <string>

namespace sim {

class LoadError : public std::runtime_error {
public:
    LoadError(std::string pointer, std::string reason)
        : std::runtime_error((pointer.empty() ? std::string("(document)") : pointer) + ": " + reason),
          pointer_(std::move(pointer)),
          reason_(std::move(reason)) {}
    /// The JSON pointer of the offending value ("" for the whole document).
    const std::string& Pointer() const { return pointer_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string pointer_;
    std::string reason_;
};

}  // namespace sim
