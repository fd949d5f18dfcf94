// Failures of the executable readers and editors. Every message is a short
// text for the user; the resource editors prefix theirs with
// "Resource update error: " as the platform's own tools word it.
#pragma once

#include <stdexcept>
#include <string>

namespace orv::pe {

// The executable or icon file is not what the operation needs (damaged,
// not a PE file, no resources). The text is shown to the user.
class PeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed version-string or icon update. what() is the whole message,
// "Resource update error: " followed by the reason.
class ResourceUpdateError : public PeError {
public:
    explicit ResourceUpdateError(const std::string& reason)
        : PeError("Resource update error: " + reason) {}
};

} // namespace orv::pe
