// Windows-only. The handlers registered for one browser event, with the tokens
// handed back for them. The list holds a reference to each handler until it is
// removed or the list is cleared.
#pragma once

#include <windows.h>
#include <eventtoken.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime.h"
#include "transcript.h"
#include "util/win_handles.h"

namespace standin {

template <class Handler>
class HandlerList {
public:
    void Add(Handler* handler, std::int64_t token) { entries_.emplace_back(token, ComPtr<Handler>::Wrap(handler)); }

    bool Remove(std::int64_t token) {
        for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
            if (entry->first == token) {
                entries_.erase(entry);
                return true;
            }
        }
        return false;
    }

    // A copy to invoke from: a handler may remove itself while it runs.
    std::vector<ComPtr<Handler>> Snapshot() const {
        std::vector<ComPtr<Handler>> handlers;
        handlers.reserve(entries_.size());
        for (const auto& entry : entries_) handlers.push_back(entry.second);
        return handlers;
    }

    // Releases every handler; returns how many there were.
    std::size_t Clear() {
        std::vector<std::pair<std::int64_t, ComPtr<Handler>>> released;
        released.swap(entries_);
        return released.size();  // released here, after the list is already empty
    }

    std::size_t size() const { return entries_.size(); }

private:
    std::vector<std::pair<std::int64_t, ComPtr<Handler>>> entries_;
};

// An add_<Event> call: registers the handler, hands back a fresh token and
// notes the token (or the failure) on the call's transcript line.
template <class Handler>
HRESULT Register(HandlerList<Handler>& list, Handler* handler, EventRegistrationToken* token, Json& line) {
    HRESULT hr = S_OK;
    if (handler == nullptr) {
        hr = E_INVALIDARG;
    } else if (token == nullptr) {
        hr = E_POINTER;
    } else {
        token->value = Runtime::Get().NextToken();
        list.Add(handler, token->value);
        line["token"] = token->value;
    }
    if (FAILED(hr)) line["hr"] = HresultText(hr);
    return hr;
}

// Calls every handler of the list with the sender and the arguments, and notes
// how many were called and what each returned.
template <class Handler, class Sender, class Args>
void Raise(const HandlerList<Handler>& list, Sender* sender, Args* args, Json& line) {
    Json results = Json::array();
    for (const ComPtr<Handler>& handler : list.Snapshot()) {
        results.push_back(HresultText(handler->Invoke(sender, args)));
    }
    line["handlers"] = results.size();
    line["results"] = std::move(results);
}

// A remove_<Event> call; an unknown token is no error, as with the runtime.
template <class Handler>
HRESULT Unregister(HandlerList<Handler>& list, EventRegistrationToken token, Json& line) {
    line["token"] = token.value;
    line["found"] = list.Remove(token.value);
    return S_OK;
}

}  // namespace standin
