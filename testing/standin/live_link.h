// Windows-only. The stand-in's connection to the live bridge. A reader thread
// takes what the bridge says and hands it to the browser thread through a
// message-only window, so every event reaches the host from inside its own
// message loop; a writer thread sends messages and streams response bodies, so
// the host's thread never waits on the socket.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "transcript.h"
#include "util/win_handles.h"

namespace standin {

class LiveLink {
public:
    using Task = std::function<void()>;

    LiveLink() = default;
    ~LiveLink();
    LiveLink(const LiveLink&) = delete;
    LiveLink& operator=(const LiveLink&) = delete;

    // Connects to "host:port" and reads the bridge's first line. False, with
    // the reason in error, when either fails within the timeout.
    bool Connect(const std::string& address, DWORD timeoutMs, Json& greeting, std::string& error);

    // From now on every message of the bridge runs the listener on the calling
    // thread, from its message loop. Called once, on the browser thread.
    bool StartDelivery(std::function<void(const Json&)> listener, std::string& error);

    // Queued for the writer thread; messages go out in the order queued.
    void Send(Json message);

    // Queues the stream's bytes, from its current position to its end, as
    // "body" messages for the request, then an "end" message. done runs on the
    // browser thread afterwards with {length, fnv1a64} (and readError when a
    // read failed).
    void SendBody(std::int64_t request, ComPtr<IStream> body, std::function<void(Json)> done);

    // Shuts the socket; the threads end by themselves.
    void Close();

private:
    struct Outgoing {
        Json message;
        std::int64_t request = 0;
        ComPtr<IStream> body;
        std::function<void(Json)> done;
    };

    void ReadLoop();
    void WriteLoop();
    bool WriteAll(const std::string& text);
    Json StreamBody(Outgoing& item);
    // Runs the task on the browser thread, from its message loop.
    void Deliver(Task task);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunDelivered();

    SOCKET socket_ = INVALID_SOCKET;
    std::string unread_;  // what came after the greeting in the same read
    std::function<void(const Json&)> listener_;
    HWND window_ = nullptr;

    std::mutex deliveredLock_;
    std::deque<Task> delivered_;

    std::mutex outgoingLock_;
    std::condition_variable outgoingReady_;
    std::deque<Outgoing> outgoing_;
    bool closing_ = false;

    std::thread reader_;
    std::thread writer_;
};

}  // namespace standin
