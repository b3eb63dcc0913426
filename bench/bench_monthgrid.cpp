// The main window's hot paths on a weight file of fifty years: a key released in the grid (save
// the month, rebuild the chart, compute the index; no painting) and a change of month.
#include "benchwindow.h"

#include "accounts/tform1.h"
#include "app/windowset.h"
#include "store/profilefile.h"
#include "ui/appsetup.h"
#include "weight/stringgrid.h"
#include "weight/tform2.h"
#include "weight/weightrecords.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Paul's account open on July 2024, in a data folder holding fifty years of his weights.
class OpenWindow : public BenchAccount {
  public:
    OpenWindow()
        : BenchAccount("[Paul]\r\npassword=pw\r\ntaille=175\r\ndetails=1\r\n", FiftyYearsOfWeights()) {
        Form2->CSpinEdit1Change();
        Form2->ComboBox1->setCurrentIndex(6);
        Form2->ComboBox1Change();
        Form2->StringGrid1->SetRow(15);
    }
};

void typeWeight(int i) {
    Form2->StringGrid1->SetCells(1, 15, i % 2 ? QStringLiteral("72,5") : QStringLiteral("72,6"));
}

void BM_KeyRelease(benchmark::State& state) {
    OpenWindow window;
    int i = 0;
    for (auto _ : state) {
        typeWeight(++i);
        Form2->StringGrid1KeyUp();
    }
}

// Only the save of the same key release: the month written as one replacement of the file, which
// takes two syncs (the file, then its folder for the rename).
void BM_KeyRelease_SaveOnly(benchmark::State& state) {
    OpenWindow window;
    int i = 0;
    for (auto _ : state) {
        typeWeight(++i);
        Form2->SaveMonthWeights(7, 2024);
    }
}

// Only the save of the same key release, made of 31 single writes each replacing the file, as a
// profile-file API that writes at every call does (ours skips a write that changes nothing, so
// the write is forced here). The parsed text is reused from one call to the next.
void BM_KeyRelease_Save31SingleWrites(benchmark::State& state) {
    OpenWindow window;
    ProfileFile weights(QStringLiteral(".\\Paul.ini"));
    int i = 0;
    for (auto _ : state) {
        typeWeight(++i);
        for (int d = 1; d <= 31; ++d)
            weights.Update([&](ProfileDocument& doc) {
                doc.WriteString(QStringLiteral("7/2024"), DayWeightKey(d), Form2->StringGrid1->Cells(1, d));
                return true;
            });
    }
}

// The literal path: each of the 31 writes reads and parses the file, then replaces it.
void BM_KeyRelease_Save31LiteralWrites(benchmark::State& state) {
    OpenWindow window;
    int i = 0;
    for (auto _ : state) {
        typeWeight(++i);
        for (int d = 1; d <= 31; ++d)
            ProfileFile(QStringLiteral(".\\Paul.ini")).Update([&](ProfileDocument& doc) {
                doc.WriteString(QStringLiteral("7/2024"), DayWeightKey(d), Form2->StringGrid1->Cells(1, d));
                return true;
            });
    }
}

// The yardstick for a key release: one fdatasync of the fifty-year weight file, its 175 KB just
// written out again as a whole new content (truncated, then written; neither timed), as any
// program that saves the file has the disk do.
void BM_Fdatasync_WeightFile(benchmark::State& state) {
    BenchDir dir;
    const QByteArray bytes = FiftyYearsOfWeights();
    const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("Paul.ini")));
    for (auto _ : state) {
        state.PauseTiming();
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        state.ResumeTiming();
        if (!written || ::fdatasync(fd) != 0)
            state.SkipWithError("cannot write the file");
        state.PauseTiming();
        if (fd >= 0)
            ::close(fd);
        state.ResumeTiming();
    }
}

// The floor of a save that replaces the whole file atomically, as every save must (a Windows
// journal is whole on disk at every moment): the fifty-year file's bytes, already laid out,
// written to a new file, flushed, renamed over the old one and the folder flushed, with bare
// system calls and nothing else.
void BM_AtomicReplace_WeightFile(benchmark::State& state) {
    BenchDir dir;
    const QByteArray bytes = FiftyYearsOfWeights();
    const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("Paul.ini")));
    const QByteArray temp = QFile::encodeName(dir.file(QStringLiteral(".Paul.ini.tmp")));
    const QByteArray folder = QFile::encodeName(QFileInfo(dir.file(QStringLiteral("Paul.ini"))).path());
    WriteFile(dir.file(QStringLiteral("Paul.ini")), bytes);
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        bool ok = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() &&
                  ::fdatasync(fd) == 0;
        ok = fd >= 0 && ::close(fd) == 0 && ok;
        ok = ok && ::rename(temp.constData(), path.constData()) == 0;
        const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = ok && folderFd >= 0 && ::fsync(folderFd) == 0;
        if (folderFd >= 0)
            ::close(folderFd);
        if (!ok)
            state.SkipWithError("cannot replace the file");
    }
}

// The same fdatasync of the file rewritten in place, its blocks kept: the least a save can cost.
void BM_Fdatasync_WeightFile_InPlace(benchmark::State& state) {
    BenchDir dir;
    const QByteArray bytes = FiftyYearsOfWeights();
    const int fd = ::open(QFile::encodeName(dir.file(QStringLiteral("Paul.ini"))).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    for (auto _ : state) {
        state.PauseTiming();
        const bool written = ::pwrite(fd, bytes.constData(), size_t(bytes.size()), 0) == bytes.size();
        state.ResumeTiming();
        if (!written || ::fdatasync(fd) != 0)
            state.SkipWithError("cannot write the file");
    }
    ::close(fd);
}

void BM_MonthChange(benchmark::State& state) {
    OpenWindow window;
    int i = 0;
    for (auto _ : state) {
        Form2->ComboBox1->setCurrentIndex(++i % 2 ? 5 : 6);
        Form2->ComboBox1Change();
    }
}
} // namespace

BENCHMARK(BM_KeyRelease)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AtomicReplace_WeightFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fdatasync_WeightFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fdatasync_WeightFile_InPlace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyRelease_SaveOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyRelease_Save31SingleWrites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyRelease_Save31LiteralWrites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthChange)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetUpApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
