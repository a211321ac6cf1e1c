// The shared main of the tests that open real windows: starts wx on the
// display, turns wx assertions into test failures, runs the tests inside an
// event loop and shuts wx down again.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/app.h>
#include <wx/utils.h>

// init runs once wx has started (before the tests); done runs after the tests,
// still inside the event loop. 1 when wx cannot start.
inline int runWxTests(int argc, char** argv, const std::function<void()>& init = {},
                      const std::function<void()>& done = {}) {
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                          const wxString& msg) {
        ADD_FAILURE() << "wx assertion " << cond << " " << msg << " in " << func << " at " << file << ":" << line;
    });
    if (init) init();
    int rc = 1;
    {
        wxEventLoop loop;
        wxEventLoopActivator activate(&loop);
        rc = RUN_ALL_TESTS();
        if (done) done();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}

// Runs the event loop's pending work for a while: events, yields and idle time.
inline void pumpWxEvents(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        wxTheApp->ProcessPendingEvents();
        if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_ALL);
        wxTheApp->ProcessIdle();
        wxMilliSleep(5);
    } while (std::chrono::steady_clock::now() < end);
}
