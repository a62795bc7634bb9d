// Kramora.ini as anyone may have written it: the configuration is read or refused with
// an error, never crashes; a window height written is the one read back.

#include "fuzz_support.h"

#include "core/config.h"
#include "core/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::inputFile(data, size, QStringLiteral("Kramora.ini"));
    Config cfg;
    cfg.ExePath = path.left(path.lastIndexOf(u'/') + 1);
    try {
        if (!IniPrepare(cfg))
            fuzz::broken("an existing file is read");
        if (cfg.FirmNumber.size() != 4)
            fuzz::broken("the firm number has four characters");
    } catch (const AppError &) {
        // Refused with its text: a malformed integer or firm number.
    }
    try {
        GetIniWinHigh(cfg, 8);
    } catch (const AppError &) {
    }
    try {
        SeTIniWinHigh(cfg, 8, 437);
        if (GetIniWinHigh(cfg, 8) != 437)
            fuzz::broken("a written height reads back");
    } catch (const AppError &) {
    }
    return 0;
}
