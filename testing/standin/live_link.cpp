// Windows-only.
#include "live_link.h"

#include <ws2tcpip.h>

#include <utility>
#include <vector>

#include "body_digest.h"
#include "live_wire.h"

namespace standin {
namespace {

constexpr UINT wakeMessage = WM_APP + 1;
constexpr wchar_t windowClass[] = L"TessarineStandinLiveLink";

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::string SocketError(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(::WSAGetLastError());
}

void SetReceiveTimeout(SOCKET socket, DWORD ms) {
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
}

}  // namespace

LiveLink::~LiveLink() {
    Close();
    // Never joined: this may run while the process is going, under the loader lock.
    if (reader_.joinable()) reader_.detach();
    if (writer_.joinable()) writer_.detach();
}

bool LiveLink::Connect(const std::string& address, DWORD timeoutMs, Json& greeting, std::string& error) {
    const std::optional<BridgeAddress> parsed = ParseBridgeAddress(address);
    if (!parsed) {
        error = "bad bridge address \"" + address + "\"";
        return false;
    }
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "WSAStartup failed";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(parsed->host.c_str(), std::to_string(parsed->port).c_str(), &hints, &found) != 0) {
        error = SocketError("getaddrinfo");
        return false;
    }
    socket_ = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    const bool connected =
        socket_ != INVALID_SOCKET && ::connect(socket_, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0;
    ::freeaddrinfo(found);
    if (!connected) {
        error = SocketError(("connect to " + address).c_str());
        Close();
        return false;
    }
    const BOOL noDelay = TRUE;
    ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

    // The greeting: the bridge's first line.
    SetReceiveTimeout(socket_, timeoutMs);
    LineSplitter splitter;
    std::optional<std::string> line;
    char buffer[4096];
    while (!(line = splitter.Next())) {
        const int count = ::recv(socket_, buffer, sizeof buffer, 0);
        if (count <= 0) {
            error = count == 0 ? "the bridge closed the connection" : SocketError("reading the greeting");
            Close();
            return false;
        }
        splitter.Append(buffer, static_cast<std::size_t>(count));
    }
    SetReceiveTimeout(socket_, 0);
    greeting = Json::parse(*line, nullptr, false);
    if (!greeting.is_object()) {
        error = "the bridge's greeting is not a JSON object";
        Close();
        return false;
    }
    while (std::optional<std::string> rest = splitter.Next()) unread_ += *rest + "\n";
    return true;
}

bool LiveLink::StartDelivery(std::function<void(const Json&)> listener, std::string& error) {
    listener_ = std::move(listener);
    static const ATOM registered = [] {
        WNDCLASSEXW windowClassInfo{};
        windowClassInfo.cbSize = sizeof windowClassInfo;
        windowClassInfo.lpfnWndProc = &LiveLink::WindowProc;
        windowClassInfo.hInstance = ThisModule();
        windowClassInfo.lpszClassName = windowClass;
        return ::RegisterClassExW(&windowClassInfo);
    }();
    if (registered == 0) {
        error = "RegisterClassExW failed, error " + std::to_string(::GetLastError());
        return false;
    }
    window_ = ::CreateWindowExW(0, windowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    if (window_ == nullptr) {
        error = "CreateWindowExW failed, error " + std::to_string(::GetLastError());
        return false;
    }
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    reader_ = std::thread([this] { ReadLoop(); });
    writer_ = std::thread([this] { WriteLoop(); });
    return true;
}

void LiveLink::Send(Json message) {
    {
        std::lock_guard<std::mutex> guard(outgoingLock_);
        outgoing_.push_back(Outgoing{std::move(message), 0, {}, {}});
    }
    outgoingReady_.notify_one();
}

void LiveLink::SendBody(std::int64_t request, ComPtr<IStream> body, std::function<void(Json)> done) {
    {
        std::lock_guard<std::mutex> guard(outgoingLock_);
        outgoing_.push_back(Outgoing{Json(), request, std::move(body), std::move(done)});
    }
    outgoingReady_.notify_one();
}

void LiveLink::Close() {
    {
        std::lock_guard<std::mutex> guard(outgoingLock_);
        closing_ = true;
    }
    outgoingReady_.notify_all();
    if (socket_ != INVALID_SOCKET) {
        ::shutdown(socket_, SD_BOTH);
        ::closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

void LiveLink::ReadLoop() {
    LineSplitter splitter;
    splitter.Append(unread_.data(), unread_.size());
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        while (std::optional<std::string> line = splitter.Next()) {
            Json message = Json::parse(*line, nullptr, false);
            if (!message.is_object()) {
                message = Event("bad-line");
                message["text"] = *line;
            }
            Deliver([this, message = std::move(message)] { listener_(message); });
        }
        const int count = ::recv(socket_, buffer.data(), static_cast<int>(buffer.size()), 0);
        if (count <= 0) break;
        splitter.Append(buffer.data(), static_cast<std::size_t>(count));
    }
    Json closed = Json::object();
    closed["ev"] = "bridge-closed";
    Deliver([this, closed = std::move(closed)] { listener_(closed); });
}

void LiveLink::WriteLoop() {
    for (;;) {
        Outgoing item;
        {
            std::unique_lock<std::mutex> guard(outgoingLock_);
            outgoingReady_.wait(guard, [this] { return closing_ || !outgoing_.empty(); });
            if (outgoing_.empty()) return;
            item = std::move(outgoing_.front());
            outgoing_.pop_front();
        }
        if (item.body) {
            Json summary = StreamBody(item);
            item.body.reset();  // let go of the host's stream here, not on the browser thread
            Deliver([done = std::move(item.done), summary = std::move(summary)] { done(summary); });
        } else if (!WriteAll(FormatLine(item.message) + "\n")) {
            return;
        }
    }
}

Json LiveLink::StreamBody(Outgoing& item) {
    const std::string id = std::to_string(item.request);
    std::vector<std::uint8_t> piece(bodyPieceBytes);
    std::uint64_t digest = fnv1a64Start;
    std::uint64_t length = 0;
    HRESULT hr = S_OK;
    bool sent = true;
    for (;;) {
        // Fill the whole piece unless the stream ends, so pieces stay multiples of three.
        ULONG filled = 0;
        while (filled < piece.size()) {
            ULONG read = 0;
            hr = item.body->Read(piece.data() + filled, static_cast<ULONG>(piece.size() - filled), &read);
            filled += read;
            if (FAILED(hr) || read == 0) break;
        }
        if (filled > 0) {
            digest = Fnv1a64Continue(digest, piece.data(), filled);
            length += filled;
            sent = WriteAll("{\"op\":\"body\",\"id\":" + id + ",\"data\":\"" + Base64Encode(piece.data(), filled) +
                            "\"}\n");
        }
        if (!sent || FAILED(hr) || filled < piece.size()) break;
    }
    Json summary = Json::object();
    summary["length"] = length;
    summary["fnv1a64"] = DigestText(digest);
    if (FAILED(hr)) summary["readError"] = HresultText(hr);
    Json end = Json::object();
    end["op"] = "end";
    end["id"] = item.request;
    end["length"] = length;
    if (FAILED(hr)) end["readError"] = HresultText(hr);
    if (sent) WriteAll(FormatLine(end) + "\n");
    return summary;
}

bool LiveLink::WriteAll(const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const int count = ::send(socket_, text.data() + written, static_cast<int>(text.size() - written), 0);
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

void LiveLink::Deliver(Task task) {
    {
        std::lock_guard<std::mutex> guard(deliveredLock_);
        delivered_.push_back(std::move(task));
    }
    ::PostMessageW(window_, wakeMessage, 0, 0);
}

void LiveLink::RunDelivered() {
    // One task at a time: a task may pump messages (a message box) and come back here.
    for (;;) {
        Task task;
        {
            std::lock_guard<std::mutex> guard(deliveredLock_);
            if (delivered_.empty()) return;
            task = std::move(delivered_.front());
            delivered_.pop_front();
        }
        task();
    }
}

LRESULT CALLBACK LiveLink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == wakeMessage) {
        if (auto* link = reinterpret_cast<LiveLink*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
            link->RunDelivered();
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace standin
