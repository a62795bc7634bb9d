#pragma once
// The prompter of the running program: messages and questions in modal message boxes
// over the active window.

#include "app/core/prompter.h"

class MessageBoxPrompter final : public Prompter {
public:
    // Installs itself as the program-wide prompter for its lifetime. Requires a QApplication.
    MessageBoxPrompter();
    ~MessageBoxPrompter() override;

    // A message box with the text and one OK button.
    void ShowMessage(const QString &text) override;
    // A question with OK and Cancel; true for OK.
    bool Confirm(const QString &text) override;
};
