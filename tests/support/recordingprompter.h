#pragma once
// A prompter for tests: it records the text of every message and question instead of
// showing a box, and answers questions with a scripted answer. Installed as the
// program-wide prompter for its own lifetime.

#include "core/prompter.h"

#include <QStringList>

class RecordingPrompter final : public Prompter {
public:
    RecordingPrompter() { setPrompter(this); }
    ~RecordingPrompter() override { setPrompter(nullptr); }

    // Records the text; never blocks.
    void ShowMessage(const QString &text) override { messages << text; }
    // Records the text and gives confirmAnswer.
    bool Confirm(const QString &text) override
    {
        messages << text;
        return confirmAnswer;
    }

    QStringList messages;       // every text shown or asked, in order
    bool confirmAnswer = true;  // what Confirm answers
};
