#pragma once

#include <stdexcept>
#include <string>

// What the office layer throws. Callers catch it at the command and tell
// the user. Visible to the program although thrown from the back-end library.
class __attribute__((visibility("default"))) COfficeError : public std::runtime_error {
public:
    enum Kind {
        // The office refused a call; the office itself is fine.
        kRefused,
        // The office has gone (ended, killed): it is started afresh next time.
        kLost,
        // No office on this computer, or its library cannot be loaded.
        kUnavailable,
        // The office did not start or could not be reached.
        kNotStarted,
    };

    explicit COfficeError(const std::string& what, Kind kind = kRefused)
        : std::runtime_error(what)
        , m_kind(kind)
    {}
    Kind ErrorKind() const { return m_kind; }
    bool Lost() const { return m_kind == kLost; }

private:
    Kind m_kind;
};
