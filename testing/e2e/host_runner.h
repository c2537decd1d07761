// Runs the host in an app folder under the stand-in runtime and collects what it did
// (Windows-only).
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app_folder.h"
#include "message_box_reader.h"
#include "transcript.h"

namespace e2e {

struct HostRunOptions {
    // Stand-in scenario text, written to a file beside the app folder.
    std::string scenario;
    DWORD timeoutMs = 30000;
    // More environment variables for the host (name, value), set or replacing.
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    // Appended to the command line after the quoted exe path.
    std::wstring arguments;
    // The button pressed in each of the host's message boxes.
    int boxButton = IDOK;
};

struct HostRun {
    bool started = false;
    std::string startError;  // why CreateProcessW failed
    bool timedOut = false;   // killed after the timeout
    DWORD exitCode = 0;
    Transcript transcript;
    std::vector<MessageBoxRecord> boxes;
    int stuckBoxes = 0;                      // boxes the button did not close
    std::vector<std::string> windowClasses;  // of every top-level window of the host seen

    bool SawWindowClass(const std::string& name) const;

    // True when the host started, ended by itself and no box got stuck.
    bool Finished() const { return started && !timedOut && stuckBoxes == 0; }
    // Exit code, boxes and transcript, for failure messages.
    std::string Describe() const;
};

// Starts folder.Exe() in folder.App() with TESSARINE_STANDIN_SCENARIO and
// TESSARINE_STANDIN_TRANSCRIPT set, answers its message boxes, waits for it to end (killing
// it after the timeout) and reads the transcript.
HostRun RunHost(const AppFolder& folder, const HostRunOptions& options = {});

}  // namespace e2e
