// A start as a person sees it: from the program's exec to its first window mapped on the X
// display, for Kalimo (a second start: the food database and an account already there) and
// for a bare Qt Widgets window with one label. Needs DISPLAY (an Xvfb without a window
// manager, so that the programs' own windows are the root window's children).
#include "benchsupport.h"

#include "calories/defaultfooddatabase.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {
using Clock = std::chrono::steady_clock;

// Watches the root window of DISPLAY for windows being mapped.
class MapWatcher {
  public:
    MapWatcher() : m_connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ready = true;
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    bool ready() const { return m_ready; }
    void drain() {
        while (xcb_generic_event_t* e = xcb_poll_for_event(m_connection))
            std::free(e);
    }
    // Waits for the next window mapped; false after ten seconds without one.
    bool waitForMap() {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(m_connection)) {
                const bool mapped = (e->response_type & 0x7F) == XCB_MAP_NOTIFY;
                std::free(e);
                if (mapped)
                    return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, int(left.count()));
        }
    }

  private:
    xcb_connection_t* m_connection;
    bool m_ready = false;
};

pid_t launch(const char* program, const char* argument) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::execl(program, program, argument, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

void timeStarts(benchmark::State& state, const char* program, const char* argument) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("needs an X display (DISPLAY)");
        return;
    }
    MapWatcher watcher;
    if (!watcher.ready()) {
        state.SkipWithError("cannot reach the X display");
        return;
    }
    for (auto _ : state) {
        watcher.drain();
        const auto start = Clock::now();
        const pid_t pid = launch(program, argument);
        const bool mapped = watcher.waitForMap();
        const auto end = Clock::now();
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        if (!mapped) {
            state.SkipWithError("no window was mapped");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_ColdStart_LoginWindow(benchmark::State& state) {
    BenchDir dir;
    WriteFile(dir.file(QStringLiteral("calories.ini")), DefaultFoodDatabaseBytes());
    WriteFile(dir.file(QStringLiteral("compte.ini")), "[Paul]\r\npassword=pw\r\n");
    const QByteArray folder = dir.file(QString()).toLocal8Bit();
    const QByteArray option = "--dossier=" + folder;
    timeStarts(state, KALIMO_PROGRAM, option.constData());
}

void BM_ColdStart_BareLabelWindow(benchmark::State& state) {
    timeStarts(state, BARE_WINDOW_PROGRAM, nullptr);
}
} // namespace

BENCHMARK(BM_ColdStart_LoginWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ColdStart_BareLabelWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

BENCHMARK_MAIN();
