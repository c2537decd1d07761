// Windows-only.
#include "controller_options.h"

namespace standin {

std::string ColorText(COREWEBVIEW2_COLOR color) {
    return std::to_string(color.A) + "," + std::to_string(color.R) + "," + std::to_string(color.G) + "," +
           std::to_string(color.B);
}

bool ControllerOptions::Answers(REFIID iid) const {
    if (IsOneOf(iid, __uuidof(ICoreWebView2ControllerOptions), __uuidof(ICoreWebView2ControllerOptions2),
                __uuidof(ICoreWebView2ControllerOptions3))) {
        return true;
    }
    if (iid == __uuidof(ICoreWebView2ControllerOptions4)) {
        return Runtime::Get().Offers(Offer::ControllerOptions4);
    }
    return false;
}

HRESULT ControllerOptions::get_ProfileName(LPWSTR* value) {
    return AnswerText("get_ProfileName", value, profileName_);
}

HRESULT ControllerOptions::put_ProfileName(LPCWSTR value) {
    profileName_ = value != nullptr ? value : L"";
    return NoteSet("put_ProfileName", WideJson(value));
}

HRESULT ControllerOptions::get_IsInPrivateModeEnabled(BOOL* value) {
    return Answer<BOOL>("get_IsInPrivateModeEnabled", value, inPrivate_, inPrivate_);
}

HRESULT ControllerOptions::put_IsInPrivateModeEnabled(BOOL value) {
    inPrivate_ = value != FALSE;
    return NoteSet("put_IsInPrivateModeEnabled", inPrivate_);
}

HRESULT ControllerOptions::get_ScriptLocale(LPWSTR* value) {
    return AnswerText("get_ScriptLocale", value, scriptLocale_);
}

HRESULT ControllerOptions::put_ScriptLocale(LPCWSTR value) {
    scriptLocale_ = value != nullptr ? value : L"";
    return NoteSet("put_ScriptLocale", WideJson(value));
}

HRESULT ControllerOptions::get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* value) {
    return Answer<COREWEBVIEW2_COLOR>("get_DefaultBackgroundColor", value, background_, ColorText(background_));
}

HRESULT ControllerOptions::put_DefaultBackgroundColor(COREWEBVIEW2_COLOR value) {
    background_ = value;
    return NoteSet("put_DefaultBackgroundColor", ColorText(value));
}

HRESULT ControllerOptions::get_AllowHostInputProcessing(BOOL* value) {
    return Answer<BOOL>("get_AllowHostInputProcessing", value, allowHostInputProcessing_, allowHostInputProcessing_);
}

HRESULT ControllerOptions::put_AllowHostInputProcessing(BOOL value) {
    allowHostInputProcessing_ = value != FALSE;
    return NoteSet("put_AllowHostInputProcessing", allowHostInputProcessing_);
}

Json ControllerOptions::Describe() const {
    Json options = Json::object();
    options["profileName"] = WideJson(profileName_.c_str());
    options["isInPrivateModeEnabled"] = inPrivate_;
    options["scriptLocale"] = WideJson(scriptLocale_.c_str());
    options["defaultBackgroundColor"] = ColorText(background_);
    options["allowHostInputProcessing"] = allowHostInputProcessing_;
    return options;
}

}  // namespace standin
