// Windows-only. The options for creating a controller (ICoreWebView2ControllerOptions to 4).
#pragma once

#include <string>

#include "recorded_object.h"

namespace standin {

class ControllerOptions final : public RecordedObject<ControllerOptions, ICoreWebView2ControllerOptions4> {
public:
    static constexpr char objectName[] = "ControllerOptions";
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_ProfileName(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsInPrivateModeEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_ScriptLocale(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_ScriptLocale(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* value) override;
    HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR value) override;
    HRESULT STDMETHODCALLTYPE get_AllowHostInputProcessing(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_AllowHostInputProcessing(BOOL value) override;

    // What a controller created with these options gets, for the transcript.
    Json Describe() const;
    COREWEBVIEW2_COLOR background() const { return background_; }

private:
    std::wstring profileName_;
    bool inPrivate_ = false;
    std::wstring scriptLocale_;
    COREWEBVIEW2_COLOR background_{255, 255, 255, 255};  // opaque white, as the runtime starts
    bool allowHostInputProcessing_ = false;
};

// "A,R,G,B" in decimal.
std::string ColorText(COREWEBVIEW2_COLOR color);

}  // namespace standin
