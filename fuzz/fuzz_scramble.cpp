// Scrambling then restoring gives back every byte, with either key.
#include "store/scramble.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray plain(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* key : {AccountsFileKey, AccountFilesKey}) {
        const QByteArrayView k(key, qsizetype(std::strlen(key)));
        QByteArray bytes = plain;
        TransformBytes(bytes, k, ScrambleDirection::Scramble);
        if (bytes.size() != plain.size())
            std::abort();
        TransformBytes(bytes, k, ScrambleDirection::Unscramble);
        if (bytes != plain)
            std::abort();
    }
    return 0;
}
