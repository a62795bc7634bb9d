// The import file as any program may have left it: read whole or refused with an error
// naming the file, never a crash or a read beyond a record.

#include "fuzz_support.h"

#include "import/podklady_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::inputFile(data, size, QStringLiteral("Pod0000.dbf"));
    try {
        for (const PodkladyLine &line : ReadPodkladyFile(path)) {
            if (line.card.endsWith(u' ') || line.document.endsWith(u' '))
                fuzz::broken("texts come without their trailing blanks");
        }
    } catch (const ImportFileError &e) {
        if (!e.text().contains(path))
            fuzz::broken("a refusal names the file");
    }
    return 0;
}
