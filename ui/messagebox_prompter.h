#pragma once
// The prompter of the running program: messages and questions in modal message boxes
// over the active window.

#include "core/prompter.h"

#include <QString>

class MessageBoxPrompter final : public Prompter {
public:
    // The captions of the boxes: a message carries the program's name, a question the
    // caption the original platform gives a confirmation in Czech.
    static const QString kMessageTitle;
    static const QString kConfirmTitle;
    // The buttons of the questions as the original platform labels them in Czech ("&"
    // marks the Alt key of the button).
    static const QString kOk, kCancel, kYes, kNo;

    // Installs itself as the program-wide prompter for its lifetime. Requires a QApplication.
    MessageBoxPrompter();
    ~MessageBoxPrompter() override;

    // A message box with the text and one OK button.
    void ShowMessage(const QString &text) override;
    // A question with "OK" and "Storno" (the default, also Escape); true for OK.
    bool Confirm(const QString &text) override;
    // A question with "Ano" and "Ne" (the default, also Escape); true for Ano.
    bool AskYesNo(const QString &text) override;
};
