// Windows-only. Base of every object the stand-in hands to the host: the host's
// own COM object base (reference count, QueryInterface plumbing) plus what is
// the stand-in's: which interfaces QueryInterface offers, a transcript line for
// every call, and the answer for every slot the object does not implement (a
// transcript line and E_NOTIMPL).
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "com_text.h"
#include "runtime.h"
#include "transcript.h"
#include "unimplemented_slots.h"
#include "util/win_handles.h"

namespace standin {

// The interface's name, or the IID in registry form when it is not one we know.
std::string InterfaceName(REFIID iid);

template <class... Iids>
bool IsOneOf(REFIID iid, const Iids&... iids) {
    return ((iid == iids) || ...);
}

// Self provides `static constexpr char objectName[]` (the transcript name) and
// `bool Answers(REFIID)` (which interfaces QueryInterface gives out).
template <class Self, class Interface>
class RecordedObject : public SlotDefaults<Self, Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        const bool offered = iid == __uuidof(IUnknown) || static_cast<Self*>(this)->Answers(iid);
        Json line = Call("QueryInterface");
        line["interface"] = InterfaceName(iid);
        line["offered"] = offered;
        Runtime::Get().Record(std::move(line));
        // Every interface of the object is one chain, so they share one address.
        return this->HandOut(offered ? static_cast<Interface*>(this) : nullptr, out);
    }

    HRESULT NotImplemented(const char* method) {
        Json line = Call(method);
        line["hr"] = HresultText(E_NOTIMPL);
        Runtime::Get().Record(std::move(line));
        return E_NOTIMPL;
    }

    // The object behind an interface pointer if it is one of ours of this kind;
    // lets the stand-in read its own objects without going through (and
    // recording) their interface calls.
    static Self* FromInterface(const void* pointer) {
        std::lock_guard<std::mutex> guard(InstanceLock());
        return Instances().count(pointer) != 0 ? static_cast<Self*>(static_cast<Interface*>(const_cast<void*>(pointer)))
                                               : nullptr;
    }

    Interface* AsInterface() { return static_cast<Interface*>(this); }

protected:
    RecordedObject() {
        Runtime::Get().CountCreated(Self::objectName);
        std::lock_guard<std::mutex> guard(InstanceLock());
        Instances().insert(static_cast<const void*>(static_cast<Interface*>(this)));
    }
    ~RecordedObject() override {
        {
            std::lock_guard<std::mutex> guard(InstanceLock());
            Instances().erase(static_cast<const void*>(static_cast<Interface*>(this)));
        }
        if (Runtime* runtime = Runtime::Existing()) runtime->CountDestroyed(Self::objectName);
    }

    // A transcript line for a call on this object: "<objectName>.<method>".
    static Json Call(const char* method) { return Event(std::string(Self::objectName) + "." + method); }
    static void Record(Json line) { Runtime::Get().Record(std::move(line)); }
    // Writes the call's line, with "hr" when the call failed, and returns the code.
    static HRESULT Finish(Json line, HRESULT hr) {
        if (FAILED(hr)) line["hr"] = HresultText(hr);
        Record(std::move(line));
        return hr;
    }

    // A getter's answer: records the value (or the failure) and returns the code.
    template <class T>
    static HRESULT Answer(const char* method, T* out, const T& value, const Json& shown) {
        Json line = Call(method);
        if (out == nullptr) return Finish(std::move(line), E_POINTER);
        *out = value;
        line["value"] = shown;
        Record(std::move(line));
        return S_OK;
    }

    // A string getter's answer: a CoTaskMemAlloc'd copy for the caller.
    static HRESULT AnswerText(const char* method, LPWSTR* out, const std::wstring& value) {
        Json line = Call(method);
        const HRESULT hr = CopyToCaller(value, out);
        if (SUCCEEDED(hr)) line["value"] = WideJson(value.c_str());
        return Finish(std::move(line), hr);
    }

    // A getter for a part the object always has: a new reference for the caller.
    template <class Out, class Part>
    static HRESULT AnswerPart(const char* method, Out** out, Part* part) {
        Json line = Call(method);
        if (out == nullptr) return Finish(std::move(line), E_POINTER);
        Record(std::move(line));
        part->AddRef();
        *out = part->AsInterface();
        return S_OK;
    }

    // A getter for an interface the object may hold or not; "value" tells which.
    template <class Out>
    static HRESULT AnswerHeld(const char* method, Out** out, const ComPtr<Out>& held) {
        Json line = Call(method);
        if (out == nullptr) return Finish(std::move(line), E_POINTER);
        line["value"] = static_cast<bool>(held);
        Record(std::move(line));
        *out = held.get();
        if (*out != nullptr) (*out)->AddRef();
        return S_OK;
    }

    // A setter's line: the value as set, and success.
    static HRESULT NoteSet(const char* method, const Json& shown) {
        Json line = Call(method);
        line["value"] = shown;
        Record(std::move(line));
        return S_OK;
    }

    // A string setter's answer: records the value; null is refused and changes nothing.
    static HRESULT NoteSetText(const char* method, LPCWSTR value, std::wstring& field) {
        NoteSet(method, WideJson(value));
        if (value == nullptr) return E_INVALIDARG;
        field = value;
        return S_OK;
    }

private:
    static std::set<const void*>& Instances() {
        static std::set<const void*> instances;
        return instances;
    }
    static std::mutex& InstanceLock() {
        static std::mutex lock;
        return lock;
    }
};

// Completes a creation the host asked for: hands its completion handler the object
// `make` gives (or the failure, and no object) and writes the "deliver:<what>"
// line. After a failure nothing else starts the steps, so this does.
template <class Completion, class Make>
void Deliver(const char* event, const ComPtr<Completion>& completion, std::optional<std::int32_t> failure, Make make) {
    Runtime& runtime = Runtime::Get();
    decltype(make()) made;
    if (!failure) made = make();
    const HRESULT code = failure ? static_cast<HRESULT>(*failure) : S_OK;
    const HRESULT result = completion->Invoke(code, made ? made->AsInterface() : nullptr);
    Json line = Event(event);
    line["hr"] = HresultText(code);
    line["object"] = static_cast<bool>(made);
    line["result"] = HresultText(result);
    runtime.Record(std::move(line));
    if (failure) runtime.player().Start();
}

// A new object with one reference, owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
    ComPtr<T> object;
    object.attach(new T(std::forward<Args>(args)...));
    return object;
}

}  // namespace standin
