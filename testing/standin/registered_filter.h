// Windows-only. A resource filter the host registered: which URIs, which kind of
// resource, and which sources' requests (a plain filter covers documents only).
#pragma once

#include <string>

#include "util/webview2.h"

namespace standin {

struct RegisteredFilter {
    std::wstring uri;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context;
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sourceKinds;
};

}  // namespace standin
