#pragma once
// Clean-up after a command failed: undoing what it left behind must not replace the
// error that is being handled, nor fail a command that otherwise succeeded.

#include <exception>

// Runs step; an error it raises is dropped.
template <typename Step>
void Quietly(Step &&step) noexcept
{
    try {
        step();
    } catch (const std::exception &) {
    }
}
