// Windows-only.
#include "window_record.h"

#include <string>

#include "com_text.h"

namespace standin {

Json RectJson(const RECT& rect) {
    return Json::array({rect.left, rect.top, rect.right, rect.bottom});
}

Json DescribeWindow(HWND window) {
    Json state = Json::object();
    state["window"] = HandleText(reinterpret_cast<std::uintptr_t>(window));
    const bool exists = ::IsWindow(window) != FALSE;
    state["exists"] = exists;
    if (!exists) return state;
    state["visible"] = ::IsWindowVisible(window) != FALSE;
    state["minimized"] = ::IsIconic(window) != FALSE;
    state["maximized"] = ::IsZoomed(window) != FALSE;
    state["style"] = static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_STYLE));
    state["exStyle"] = static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_EXSTYLE));
    RECT rect{};
    ::GetWindowRect(window, &rect);
    state["windowRect"] = RectJson(rect);
    ::GetClientRect(window, &rect);
    state["clientRect"] = RectJson(rect);
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    state["text"] = WideToUtf8(text.c_str());
    return state;
}

}  // namespace standin
