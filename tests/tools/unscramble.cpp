// Writes the plain bytes of a scrambled copy to standard output, for tests run from the shell;
// with "scramble" after the file, the scrambled bytes of a plain file.
// Usage: kalimo_unscramble accounts|account FILE [scramble]
#include "store/scramble.h"

#include <QFile>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "scramble") == 0))
        return 2;
    const char* key = std::strcmp(argv[1], "accounts") == 0 ? AccountsFileKey : AccountFilesKey;
    QFile in(QString::fromLocal8Bit(argv[2]));
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    QByteArray bytes = in.readAll();
    TransformBytes(bytes, QByteArrayView(key, qsizetype(std::strlen(key))),
                   argc == 4 ? ScrambleDirection::Scramble : ScrambleDirection::Unscramble);
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) ? 0 : 1;
}
