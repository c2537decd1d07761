#!/usr/bin/env python3
"""Writes unimplemented_slots.h from the host's webview2.h.

For every interface X the header declares, the output has a class template
Unimplemented_X<Self, Base> that overrides each slot X adds with a body
that reports the call through Self::NotImplemented and returns its result;
the templates chain along the interface's parents down to Base, so
SlotDefaults<Self, ICoreWebView2_23> fills all 123 slots of the web view on
top of the host's ComObject<ICoreWebView2_23> (which answers IUnknown's three),
and the stand-in's objects override only what they really do. The output also
lists every interface identifier with its name, for the transcript.

Usage: generate_unimplemented.py <webview2.h> <output header>
"""

import re
import sys

STRUCT = re.compile(r"struct\s+(\w+)\s*:\s*public\s+(\w+)\s*\{(.*?)\};", re.S)
METHOD = re.compile(r"virtual\s+HRESULT\s+STDMETHODCALLTYPE\s+(\w+)\s*\((.*?)\)\s*=\s*0\s*;", re.S)
UUID = re.compile(r"__CRT_UUID_DECL\(\s*(\w+)\s*,")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def parse(text):
    interfaces = []
    for name, parent, body in STRUCT.findall(text):
        methods = [(m, " ".join(p.split())) for m, p in METHOD.findall(body)]
        # A slot in a form the pattern does not know must not be skipped silently:
        # the class would stay abstract at best, or shift a slot at worst.
        if len(re.findall(r"\bvirtual\b", body)) != len(methods):
            sys.exit(f"generate_unimplemented: cannot read every slot of {name}")
        interfaces.append((name, parent, methods))
    return interfaces


def generate(interfaces, uuids):
    known = {name for name, _, _ in interfaces}
    out = [
        "// Generated from webview2.h by generate_unimplemented.py. Do not edit.",
        "#pragma once",
        "",
        '#include "util/com_object.h"',
        '#include "util/webview2.h"',
        "",
        "#pragma GCC diagnostic push",
        '#pragma GCC diagnostic ignored "-Wunused-parameter"',
        "",
        "namespace standin {",
        "",
    ]
    for name, parent, methods in interfaces:
        base = f"Unimplemented_{parent}<Self, Base>" if parent in known else "Base"
        out.append("template <class Self, class Base>")
        out.append(f"struct Unimplemented_{name} : {base} {{")
        for method, params in methods:
            out.append(f"  HRESULT STDMETHODCALLTYPE {method}({params}) override {{")
            out.append(f'    return static_cast<Self*>(this)->NotImplemented("{method}");')
            out.append("  }")
        out.append("};")
        out.append("")
    out.append("// Every slot of Interface answered with Self::NotImplemented, on the host's COM object base.")
    out.append("template <class Self, class Interface>")
    out.append("struct SlotDefaults;")
    for name, _, _ in interfaces:
        out.append("template <class Self>")
        out.append(f"struct SlotDefaults<Self, {name}> : Unimplemented_{name}<Self, ::ComObject<{name}>> {{}};")
    out.append("")
    out.append("struct KnownInterface {")
    out.append("  const IID* iid;")
    out.append("  const char* name;")
    out.append("};")
    out.append("inline const KnownInterface knownInterfaces[] = {")
    out.append('    {&__uuidof(IUnknown), "IUnknown"},')
    for name in uuids:
        out.append(f'    {{&__uuidof({name}), "{name}"}},')
    out.append("};")
    out.append("")
    out.append("}  // namespace standin")
    out.append("")
    out.append("#pragma GCC diagnostic pop")
    out.append("")
    return "\n".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        text = strip_comments(source.read())
    interfaces = parse(text)
    if not interfaces:
        sys.exit("generate_unimplemented: no interfaces found")
    uuids = UUID.findall(text)
    result = generate(interfaces, uuids)
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as target:
        target.write(result)


if __name__ == "__main__":
    main()
