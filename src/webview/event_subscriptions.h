#pragma once
// Windows-only. The hub's browser event registrations: each names one member function
// of the hub, keeps its token and is removed again before the browser objects go.

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "util/win_handles.h"
#include "webview/com_callback.h"

// How a browser callback finds the hub: the hub clears `hub` when it goes, so a
// callback the runtime still holds, or calls late, reaches nothing.
template <class Hub>
struct HubLink {
    Hub* hub;
};

// A handler object for `Interface` that calls `member` of the linked hub; S_OK when
// the hub is gone.
template <class Interface, class Hub, class... Args>
ComPtr<Interface> MakeHubCallback(const std::shared_ptr<HubLink<Hub>>& link, HRESULT (Hub::*member)(Args...)) {
    return MakeCallback<Interface>([link, member](Args... args) -> HRESULT {
        Hub* hub = link->hub;
        return hub ? (hub->*member)(args...) : S_OK;
    });
}

class EventSubscriptions {
public:
    EventSubscriptions() = default;
    EventSubscriptions(const EventSubscriptions&) = delete;
    EventSubscriptions& operator=(const EventSubscriptions&) = delete;
    ~EventSubscriptions() { RemoveAll(); }

    // Registers `member` for the event that `add` and `remove` of `source` stand for.
    template <class Source, class Object, class Handler, class Hub, class... Args>
    HRESULT Add(Source* source, HRESULT (STDMETHODCALLTYPE Object::*add)(Handler*, EventRegistrationToken*),
                HRESULT (STDMETHODCALLTYPE Object::*remove)(EventRegistrationToken),
                const std::shared_ptr<HubLink<Hub>>& link, HRESULT (Hub::*member)(Args...)) {
        const ComPtr<Object> object = ComPtr<Object>::Wrap(source);
        const ComPtr<Handler> handler = MakeHubCallback<Handler>(link, member);
        EventRegistrationToken token{};
        const HRESULT result = (object.get()->*add)(handler.get(), &token);
        if (SUCCEEDED(result)) removals_.emplace_back([object, remove, token] { (object.get()->*remove)(token); });
        return result;
    }

    // Removes every registration, the last one first, and lets go of the sources.
    void RemoveAll() {
        while (!removals_.empty()) {
            const std::function<void()> remove = std::move(removals_.back());
            removals_.pop_back();
            remove();
        }
    }

private:
    std::vector<std::function<void()>> removals_;
};
