#pragma once
// Errors raised by the program's own layers. Every failure carries a text that is
// shown to the user as it stands (the general error display shows exactly what()).

#include <QString>
#include <stdexcept>

class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    // The text for the user, in Unicode.
    const QString &text() const noexcept { return m_text; }

private:
    QString m_text;
};

// A text that should be a number (or a date, or a time) is not one.
class ConversionError : public AppError {
public:
    using AppError::AppError;
};

// A failure of the table store; the text is the store's own message.
class StoreError : public AppError {
public:
    using AppError::AppError;
};

// A text holds a character that the single-byte code page of the shop system cannot hold.
class CodePageError : public AppError {
public:
    using AppError::AppError;
};
