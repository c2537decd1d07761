// Page messages: read from the browser's event and checked for their sender.
#include "bridge/web_message.h"

#include "util/text_convert.h"
#include "util/win_handles.h"
#include "util/navigation_policy.h"

void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& appUrl,
                       PageRequests& requests) {
    CoTaskMemPtr<wchar_t> source;
    args->get_Source(source.put());
    const std::string sender = WideToUtf8(source.get());
    if (!IsAppUrl(AppUrlQuestion::Message, sender, appUrl)) return;
    // A message posted as a non-string value has no text: ignore it.
    CoTaskMemPtr<wchar_t> text;
    if (FAILED(args->TryGetWebMessageAsString(text.put())) || !text) return;
    HandleWebMessage(WideToUtf8(text.get()), requests, IsSecurePage(sender));
}
