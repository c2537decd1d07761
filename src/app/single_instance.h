#pragma once
// Windows-only. "single-instance": one running copy of an app at a time. The first
// copy holds a named mutex for its run and marks its main window; a second start
// brings that window to the front instead of opening another.

#include <windows.h>

#include <string>

#include "util/win_handles.h"

class SingleInstance {
public:
    // Claims the app's name for this run; false when another copy holds it.
    explicit SingleInstance(const std::string& appName);
    bool Claimed() const { return claimed_; }
    // Marks the first copy's window so that a later start can find it.
    void MarkWindow(HWND window) const;
    // The second copy: the first one's window restored and in front; false when none
    // showed up in time.
    bool ActivateRunningCopy() const;

private:
    std::wstring mark_;
    UniqueHandle mutex_;
    bool claimed_ = false;
};
