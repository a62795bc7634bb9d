#pragma once
// A prompter for window tests: it records every message instead of showing a box, and
// answers questions with a scripted answer. Installed for its own lifetime.

#include "app/prompter.h"

#include <QStringList>

class RecordingPrompter final : public Prompter {
public:
    RecordingPrompter() { setPrompter(this); }
    ~RecordingPrompter() override { setPrompter(nullptr); }

    void ShowMessage(const QString &text) override { messages << text; }
    bool Confirm(const QString &text) override
    {
        messages << text;
        return confirmAnswer;
    }

    QStringList messages;
    bool confirmAnswer = true;
};
