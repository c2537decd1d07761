// Windows-only.
#include "recorded_object.h"

#include <objbase.h>

namespace standin {

std::string InterfaceName(REFIID iid) {
    for (const KnownInterface& known : knownInterfaces) {
        if (*known.iid == iid) return known.name;
    }
    wchar_t text[40] = {};
    ::StringFromGUID2(iid, text, 40);
    return WideToUtf8(text);
}

}  // namespace standin
