#pragma once
// What the fuzz targets share: the input as a file in a directory of the run's own, and a
// stop that libFuzzer reports as a finding when a promise of the code is broken.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Writes the input to `name` in a directory that lives as long as the run; its path.
inline QString inputFile(const uint8_t *data, size_t size, const QString &name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

// A promise of the code under test does not hold for this input.
[[noreturn]] inline void broken(const char *promise)
{
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

} // namespace fuzz
