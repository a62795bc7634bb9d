// The code pages: every byte decodes; a text that Windows-1250 holds is encoded and comes
// back the same, and one it cannot hold is refused, never replaced.

#include "fuzz_support.h"

#include "core/codepage.h"
#include "core/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString win = fromWin1250(bytes);
    if (toWin1250(win) != bytes)
        fuzz::broken("every Windows-1250 byte survives a round trip");
    fromCp852(bytes);
    const QString any = QString::fromUtf8(bytes);
    const bool fits = fitsWin1250(any);
    if (fits != firstNonWin1250(any).isEmpty())
        fuzz::broken("fitsWin1250 and firstNonWin1250 agree");
    try {
        const QByteArray encoded = toWin1250(any);
        if (!fits)
            fuzz::broken("a text the code page cannot hold is refused");
        if (fromWin1250(encoded) != any)
            fuzz::broken("an encoded text decodes to itself");
    } catch (const CodePageError &) {
        if (fits)
            fuzz::broken("a text the code page holds is encoded");
    }
    return 0;
}
