#include "prompter.h"

#include <cstdio>

namespace {

class StderrPrompter final : public Prompter {
public:
    void ShowMessage(const QString &text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool Confirm(const QString &text) override
    {
        ShowMessage(text);
        return false;
    }
};

StderrPrompter g_default;
Prompter *g_current = &g_default;

} // namespace

Prompter &prompter() { return *g_current; }

void setPrompter(Prompter *p) { g_current = p ? p : &g_default; }
