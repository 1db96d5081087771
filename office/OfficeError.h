#pragma once

#include <QString>

#include <exception>
#include <stdexcept>
#include <string>

// What the office layer throws. Callers catch it at the command and tell
// the user. Visible to the program although thrown from the back-end library.
// what() says what happened in the user's words; the office's own words
// (its exception and message) are kept apart for the program's trace.
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

    explicit COfficeError(const std::string& what, Kind kind = kRefused,
                          const std::string& detail = std::string())
        : std::runtime_error(what)
        , m_kind(kind)
        , m_detail(detail)
    {}
    Kind ErrorKind() const { return m_kind; }
    bool Lost() const { return m_kind == kLost; }
    // The office's own account of the failure; empty when what() says it all.
    const std::string& Detail() const { return m_detail; }

private:
    Kind m_kind;
    std::string m_detail;
};

// The text a message box gives for a failure in the office layer: what()
// of it, with the office's own account written to the program's trace.
QString OfficeFailureText(const std::exception& error);
