// Windows-only. The web view's settings object (ICoreWebView2Settings to 8).
#pragma once

#include <map>
#include <string>

#include "recorded_object.h"

namespace standin {

class Settings final : public RecordedObject<Settings, ICoreWebView2Settings8> {
public:
    static constexpr char objectName[] = "Settings";
    Settings();
    bool Answers(REFIID iid) const;

#define STANDIN_BOOL_SETTING(Name)                               \
    HRESULT STDMETHODCALLTYPE get_##Name(BOOL* value) override { \
        return GetFlag("get_" #Name, #Name, value);              \
    }                                                            \
    HRESULT STDMETHODCALLTYPE put_##Name(BOOL value) override {  \
        return PutFlag("put_" #Name, #Name, value);              \
    }

    STANDIN_BOOL_SETTING(IsScriptEnabled)
    STANDIN_BOOL_SETTING(IsWebMessageEnabled)
    STANDIN_BOOL_SETTING(AreDefaultScriptDialogsEnabled)
    STANDIN_BOOL_SETTING(IsStatusBarEnabled)
    STANDIN_BOOL_SETTING(AreDevToolsEnabled)
    STANDIN_BOOL_SETTING(AreDefaultContextMenusEnabled)
    STANDIN_BOOL_SETTING(AreHostObjectsAllowed)
    STANDIN_BOOL_SETTING(IsZoomControlEnabled)
    STANDIN_BOOL_SETTING(IsBuiltInErrorPageEnabled)
    STANDIN_BOOL_SETTING(AreBrowserAcceleratorKeysEnabled)
    STANDIN_BOOL_SETTING(IsPasswordAutosaveEnabled)
    STANDIN_BOOL_SETTING(IsGeneralAutofillEnabled)
    STANDIN_BOOL_SETTING(IsPinchZoomEnabled)
    STANDIN_BOOL_SETTING(IsSwipeNavigationEnabled)
    STANDIN_BOOL_SETTING(IsReputationCheckingRequired)
#undef STANDIN_BOOL_SETTING

    HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR value) override;

    // The current value of a flag, read without a transcript line.
    bool Flag(const std::string& name) const;

private:
    HRESULT GetFlag(const char* method, const char* name, BOOL* value);
    HRESULT PutFlag(const char* method, const char* name, BOOL value);

    std::map<std::string, bool> flags_;
    std::wstring userAgent_;
};

}  // namespace standin
