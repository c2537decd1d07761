// Portable. Page messages: parsed and dispatched by their "type".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class WindowShow { Maximize, Minimize, Restore };

// What a page message can ask of the host. The web view host implements it; the
// channel only reads the message's members and calls the matching request.
class PageRequests {
public:
    // withFolders: the sender may be handed the user's folders.
    virtual void SendInitResponse(bool withFolders) = 0;
    virtual void DeliverPageMessage(const std::string& text) = 0;
    virtual void SetFullscreen(bool on) = 0;
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    virtual void MoveWindowTo(int32_t x, int32_t y) = 0;
    virtual void ShowMainWindow(WindowShow show) = 0;
    virtual void FocusWindow() = 0;
    virtual void SetPointerLockEnabled(bool enabled) = 0;
    // On: a close of the window is announced to the page instead of done at once.
    virtual void SetCloseHandling(bool enabled) = 0;
    // The page is done (its saves written): the app closes.
    virtual void CloseWindow() = 0;

protected:
    ~PageRequests() = default;
};

// A page message longer than this (UTF-8 bytes) or nesting arrays and objects deeper
// than this is dropped before it is parsed: no request needs more, and the parse of
// either would cost the host many times the text.
inline constexpr size_t maxPageMessageBytes = size_t{8} << 20;
inline constexpr size_t maxPageMessageDepth = 64;

// Whether the text (all of it) keeps within both limits; strings do not count toward
// the depth.
bool IsWithinPageMessageLimits(std::string_view text);

// Parses the text (up to its first NUL) and runs the request its "type" names. Text
// that is not JSON, over the limits, and unknown types are dropped; nothing raised
// inside leaves. Only the members a request reads are kept from the parse, so its
// memory stays near the text's size.
// securePage: the sender came over https or from this machine.
void HandleWebMessage(const std::string& text, PageRequests& requests, bool securePage = true);
