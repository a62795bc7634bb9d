#pragma once
// The only way the program's commands talk to the person at the screen. Windows
// install a widget-based implementation; tests install a scripted one, so that every
// command builds and runs without QtWidgets.

#include <QString>

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal message box with one OK button. Returns when the user has confirmed it.
    virtual void ShowMessage(const QString &text) = 0;
    // A modal question with OK and Cancel; true for OK.
    virtual bool Confirm(const QString &text) = 0;
    // A modal question with Yes and No, No being the default answer; true for Yes.
    // Without buttons of its own a prompter asks it as Confirm.
    virtual bool AskYesNo(const QString &text) { return Confirm(text); }
};

// The program-wide prompter. Never null: until a window layer installs its own,
// messages go to standard error so that nothing is lost.
Prompter &prompter();
// Installs p (not owned) as the program-wide prompter; nullptr restores the default.
void setPrompter(Prompter *p);
