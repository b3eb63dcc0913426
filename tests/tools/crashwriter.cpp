// Runs the crash script in the current folder until it is killed, noting after each operation
// how many have completed.
#include "store/datafiles.h"
#include "testsupport/crashscript.h"

#include <QByteArray>
#include <QCoreApplication>

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
    }
}
