// Windows-only. What the request's and the response's header collections share:
// Contains and GetHeader over one header list.
#pragma once

#include <string>
#include <utility>

#include "recorded_object.h"
#include "header_list.h"

namespace standin {

template <class Self, class Interface>
class HeaderCollection : public RecordedObject<Self, Interface> {
    using Base = RecordedObject<Self, Interface>;

public:
    HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) override {
        const bool found = Find(name) != nullptr;
        Json line = Base::Call("Contains");
        line["name"] = WideJson(name);
        if (value == nullptr) return Base::Finish(std::move(line), E_POINTER);
        *value = found ? TRUE : FALSE;
        line["value"] = found;
        Base::Record(std::move(line));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override {
        Json line = Base::Call("GetHeader");
        line["name"] = WideJson(name);
        HRESULT hr = S_OK;
        if (value == nullptr) {
            hr = E_POINTER;
        } else if (const std::wstring* found = Find(name)) {
            hr = CopyToCaller(*found, value);
            if (SUCCEEDED(hr)) line["value"] = WideJson(found->c_str());
        } else {
            *value = nullptr;
            hr = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
            line["value"] = nullptr;
        }
        return Base::Finish(std::move(line), hr);
    }

protected:
    explicit HeaderCollection(HeaderList headers = HeaderList()) : headers_(std::move(headers)) {}

    const std::wstring* Find(LPCWSTR name) const { return name != nullptr ? headers_.Find(name) : nullptr; }

    // A call that adds or sets a header: records the name and value; a null one is refused.
    static HRESULT NoteHeader(const char* method, LPCWSTR name, LPCWSTR value) {
        Json line = Base::Call(method);
        line["name"] = WideJson(name);
        line["value"] = WideJson(value);
        Base::Record(std::move(line));
        return name == nullptr || value == nullptr ? E_INVALIDARG : S_OK;
    }

    HeaderList headers_;
};

}  // namespace standin
