#pragma once

#include "app/appsetup.h"
#include "app/windowset.h"
#include "testsupport/fakedialogs.h"
#include "testsupport/tempdir.h"

#include <QApplication>

#include <memory>

// A whole program in an empty data folder: the six windows, with boxes answered by the test.
struct ProgramFixture {
    WorkingDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<WindowSet> windows;

    explicit ProgramFixture(bool start = true) {
        if (start)
            Start();
    }
    void Start() { windows = std::make_unique<WindowSet>(); }
    void Stop() { windows.reset(); }
};

inline void SetUpTestApplication() {
    SetUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
}
