#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The fuzz input as text: UTF-8, or raw UTF-16LE after the byte order mark FF FE, which also
// reaches lone surrogates.
inline QString fuzzText(const uint8_t *data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        QString text((size - 2) / 2, Qt::Uninitialized);
        std::memcpy(text.data(), data + 2, text.size() * sizeof(char16_t));
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A value of type T from the first bytes of the input; zero when there are too few.
template<typename T>
T fuzzValue(const uint8_t *data, size_t size)
{
    T value{};
    if (size >= sizeof(T))
        std::memcpy(&value, data, sizeof(T));
    return value;
}

// A broken invariant is a finding like a crash: reported with the text involved, then the
// process aborts so that libFuzzer keeps the input.
[[noreturn]] inline void fuzzFail(const char *condition, const char *file, int line, const QString &text)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n  text: \"%s\"\n", file, line, condition,
                 qPrintable(text));
    std::abort();
}

#define FUZZ_CHECK(condition, text)                                    \
    do {                                                               \
        if (!(condition))                                              \
            fuzzFail(#condition, __FILE__, __LINE__, (text));          \
    } while (false)
