#pragma once
// The application's general error display: an error that no command handles itself is
// shown with its own text in a message box, and the program goes on.

#include <QString>
#include <exception>
#include <utility>

// The text of any error for the user: an AppError's own text, else what().
QString ErrorText(const std::exception &e);

void ShowGeneralError(const std::exception &e);

// Runs work; an error it raises is shown by the general error display. True when work
// ended without an error.
template <typename Work>
bool RunWithGeneralErrorDisplay(Work &&work)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::exception &e) {
        ShowGeneralError(e);
        return false;
    }
}
