// Windows-only. The stand-in's process-wide state: the scenario, the transcript,
// the thread timers that deliver completions and play steps, and the objects
// that the steps act on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "live_engine.h"
#include "scenario.h"
#include "step_player.h"
#include "transcript.h"

namespace standin {

class Controller;
class WebView;

class Runtime {
public:
    // Created on first use, from the environment variables of the process.
    static Runtime& Get();
    // Null before the first use and after unloading.
    static Runtime* Existing();
    // The DLL is being unloaded: release what the host handed over and say so.
    static void Unload(bool processExit);

    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    const Scenario& scenario() const { return scenario_; }
    bool Offers(Offer offer) const { return scenario_.Offers(offer); }

    // Writes one transcript line; marks calls that arrive off the browser's thread.
    void Record(Json line);

    // Runs the action once, ms later, from a thread timer of the calling thread
    // (so inside the host's message loop).
    void After(unsigned ms, std::function<void()> action);

    // The thread the browser lives on: the one that created the environment.
    void SetBrowserThread(DWORD thread) { browserThread_ = thread; }

    std::int64_t NextToken() { return ++lastToken_; }
    std::uint64_t NextNavigationId() { return ++lastNavigationId_; }

    // Live object counts by transcript name, for the unload line.
    void CountCreated(const char* name);
    void CountDestroyed(const char* name);

    StepPlayer& player() { return player_; }

    // Live mode: the real browser behind the bridge; null in scripted mode.
    LiveEngine* live() const { return live_.get(); }

    // The objects that steps act on; each clears its own pointer when it goes.
    Controller* controller = nullptr;
    WebView* webView = nullptr;
    // The parent window the host gave the controller: the app's main window.
    HWND mainWindow = nullptr;
    // That window; before there is one, the first top-level window of the
    // browser's thread that is not a dialog (the host creates its window first).
    HWND MainWindow() const;

private:
    Runtime();
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    std::size_t ReleaseHeldObjects();

    Scenario scenario_;
    Transcript transcript_;
    std::mutex lock_;  // the transcript and the live counts
    DWORD browserThread_ = 0;
    std::int64_t lastToken_ = 0;
    std::uint64_t lastNavigationId_ = 0;
    std::map<UINT_PTR, std::function<void()>> timers_;
    std::map<std::string, int> alive_;
    StepPlayer player_;
    std::unique_ptr<LiveEngine> live_;
};

}  // namespace standin
