// Runs the crash script in the current folder until it is killed, noting after each operation
// how many have completed, in the file "progress" and as a line on standard output (so that the
// test can wait for the work to be under way whatever the machine's speed).
#include "store/datafiles.h"
#include "testsupport/crashscript.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    CrashScript script(quint32(std::strtoul(argv[1], nullptr, 10)));
    for (qint64 done = 0;;) {
        script.Run();
        ++done;
        WriteFileAtomically(QStringLiteral("progress"), QByteArray::number(done));
        std::printf("%lld\n", static_cast<long long>(done));
        std::fflush(stdout);
    }
}
