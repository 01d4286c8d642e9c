#pragma once

#include <ClockCalendarShared/Instant.h>

#include <string>

// An action without parameters that a widget's button runs inside the extension, off the main thread,
// without opening the application. The host passes the instant the button was pressed.
class AppIntent {
public:
    virtual ~AppIntent() = default;

    virtual std::string title() const = 0;
    virtual void perform(Instant now) const = 0;
};
