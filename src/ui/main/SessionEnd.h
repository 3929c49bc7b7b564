#pragma once

namespace torumin {

// The desktop session's request to end (logout or shutdown), as far as the
// main window needs it: whether the user may be asked, and a way to refuse.
// The session manager itself cannot be made outside a real session.
class SessionEnd {
public:
    SessionEnd() = default;
    virtual ~SessionEnd() = default;
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

    // True when the session lets the program show a question now.
    [[nodiscard]] virtual bool allowsInteraction() = 0;
    // Keeps the session going; only after the user chose to stay.
    virtual void cancel() = 0;
};

} // namespace torumin
