// Windows-only.
#include "settings.h"

namespace standin {

Settings::Settings()
    // The runtime's defaults: nearly everything on.
    : flags_{{"IsScriptEnabled", true},
             {"IsWebMessageEnabled", true},
             {"AreDefaultScriptDialogsEnabled", true},
             {"IsStatusBarEnabled", true},
             {"AreDevToolsEnabled", true},
             {"AreDefaultContextMenusEnabled", true},
             {"AreHostObjectsAllowed", true},
             {"IsZoomControlEnabled", true},
             {"IsBuiltInErrorPageEnabled", true},
             {"AreBrowserAcceleratorKeysEnabled", true},
             {"IsPasswordAutosaveEnabled", false},
             {"IsGeneralAutofillEnabled", true},
             {"IsPinchZoomEnabled", true},
             {"IsSwipeNavigationEnabled", true},
             {"IsReputationCheckingRequired", true}},
      userAgent_(L"Mozilla/5.0 (Windows NT 10.0; Win64; x64) Tessarine-Standin") {}

bool Settings::Answers(REFIID iid) const {
    const Runtime& runtime = Runtime::Get();
    if (IsOneOf(iid, __uuidof(ICoreWebView2Settings), __uuidof(ICoreWebView2Settings2))) return true;
    if (iid == __uuidof(ICoreWebView2Settings3)) return runtime.Offers(Offer::Settings3);
    if (IsOneOf(iid, __uuidof(ICoreWebView2Settings4), __uuidof(ICoreWebView2Settings5),
                __uuidof(ICoreWebView2Settings6), __uuidof(ICoreWebView2Settings7), __uuidof(ICoreWebView2Settings8))) {
        return runtime.Offers(Offer::Settings8);
    }
    return false;
}

HRESULT Settings::GetFlag(const char* method, const char* name, BOOL* value) {
    const bool current = flags_.at(name);
    return Answer<BOOL>(method, value, current ? TRUE : FALSE, current);
}

HRESULT Settings::PutFlag(const char* method, const char* name, BOOL value) {
    flags_.at(name) = value != FALSE;
    return NoteSet(method, value != FALSE);
}

bool Settings::Flag(const std::string& name) const {
    return flags_.at(name);
}

HRESULT Settings::get_UserAgent(LPWSTR* value) {
    return AnswerText("get_UserAgent", value, userAgent_);
}

HRESULT Settings::put_UserAgent(LPCWSTR value) {
    return NoteSetText("put_UserAgent", value, userAgent_);
}

}  // namespace standin
