#pragma once
// The general error handler: an error that escapes a command is shown in a box with the
// application's title and a stop icon, and the program goes on.

#include <exception>

void ShowException(const std::exception& error);

// Runs a command's body, showing any error it raises with ShowException. True when it raised none.
template <typename F> bool Guarded(F&& body) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}
