#pragma once
// Tessarine extension interface. An extension is a DLL named Orvanta.dll placed
// beside tessarine.exe; the host loads it at start-up and calls its four exports
// on the app's UI thread. All texts are NUL-terminated UTF-8.
//
//   Init                 once, before the main window exists. Returns a list of
//                        component ids ended by a null entry (the host copies it),
//                        or null for failure. The three folder strings and `app`
//                        stay valid until Release has returned.
//   OnMainWindowCreated  once, with the main window while it is still hidden.
//   OnExtensionMessage   for each page message of type "extension-message": the
//                        whole text the page posted, valid during the call only.
//   Release              once, at shutdown.
//
// A library that lacks any of the four exports is not used at all; one whose Init
// returns null gets only Release.

#include <windows.h>

// The host's side, called from the extension on the UI thread. Three slots in this
// order and nothing else: the extension calls them by position.
struct IWrapperApp {
    // Posts a JSON text to the page; held back until the page's start-up handshake.
    virtual void PostMessageToPage(const char* json) = 0;
    // The path behind a placeholder such as "<documents>", or "" when unknown.
    virtual const char* GetFolderPath(const char* placeholder) = 0;
    // The text of package.json exactly as read.
    virtual const char* GetPackageJson() = 0;
};

extern "C" {
using ExtensionInitFunction = const char** (*)(const char* appFolder, const char* webFolder, const char* userDataFolder,
                                               IWrapperApp* app);
using ExtensionReleaseFunction = void (*)();
using ExtensionMainWindowCreatedFunction = void (*)(HWND mainWindow);
using ExtensionMessageFunction = void (*)(const char* messageJson);
}
