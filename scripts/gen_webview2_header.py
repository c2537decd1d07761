#!/usr/bin/env python3
"""Writes src/util/webview2.h from the browser control's binary-interface facts
(markdown tables of slots, IIDs and enumerations).

Usage: scripts/gen_webview2_header.py FACTS.md > src/util/webview2.h
       scripts/gen_webview2_header.py FACTS.md --check src/util/webview2.h

The committed header is this script's output, byte for byte: change the script or the
facts, never the header. With --check it compares instead of writing (a test does).
"""
import re
import sys

WINDOWS_INTERFACES = {"IUnknown", "IStream"}
# Enumerations that are bit sets get the usual flag operators.
FLAG_ENUMS = {
    "COREWEBVIEW2_RELEASE_CHANNELS",
    "COREWEBVIEW2_PDF_TOOLBAR_ITEMS",
    "COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS",
}
# Enumerator values that the facts file states inconsistently, corrected here.
ENUM_FIXES = {("COREWEBVIEW2_RELEASE_CHANNELS", "INTERNAL"): "0x10"}
# Enumerations the host passes whose values the facts file leaves out:
# name -> (comment, [(enumerator, value, trailing comment)]).
ENUM_SUPPLEMENTS = {
    "COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS": (
        "Which requests a resource filter covers, by what made them (a bit set).",
        [("NONE", "0", ""), ("DOCUMENT", "1", ""), ("SHARED_WORKER", "2", ""),
         ("SERVICE_WORKER", "4", ""), ("ALL", "-1", "0xFFFFFFFF")]),
}
HEADER_RE = re.compile(
    r"^IID \{([0-9A-Fa-f-]+)\} · derives from (\w+) · slots (\d+)\.\.(\d+)$")
ROW_RE = re.compile(r"^\| (\d+) \| (\w+) \| (.*) \|$")
ENUM_RE = re.compile(r"^- `(COREWEBVIEW2_\w+)`: (.*)$")


class Interface:
    def __init__(self, name):
        self.name = name
        self.iid = None
        self.parent = None
        self.first = self.last = None
        self.methods = []  # (slot, name, params)


def parse(text):
    interfaces, enums = [], []
    current = None
    for line in text.splitlines():
        line = line.rstrip()
        if line.startswith("### "):
            current = Interface(line[4:].strip())
            interfaces.append(current)
            continue
        m = ENUM_RE.match(line)
        if m:
            values = [tuple(p.strip() for p in item.split("="))
                      for item in m.group(2).split(",")]
            enums.append((m.group(1), values))
            continue
        if current is None:
            continue
        m = HEADER_RE.match(line)
        if m:
            current.iid = m.group(1)
            current.parent = m.group(2)
            current.first, current.last = int(m.group(3)), int(m.group(4))
            continue
        m = ROW_RE.match(line)
        if m:
            current.methods.append((int(m.group(1)), m.group(2), m.group(3)))
    return interfaces, enums


def check(interfaces):
    last_slot = {"IUnknown": 2}
    for itf in interfaces:
        if itf.parent not in last_slot:
            sys.exit(f"{itf.name}: parent {itf.parent} not declared before it")
        expected = last_slot[itf.parent] + 1
        slots = [s for s, _, _ in itf.methods]
        if slots != list(range(expected, expected + len(slots))):
            sys.exit(f"{itf.name}: slots {slots} do not follow {itf.parent}")
        if (itf.first, itf.last) != (slots[0], slots[-1]):
            sys.exit(f"{itf.name}: slot range disagrees with its table")
        last_slot[itf.name] = itf.last


def uuid_decl(name, iid):
    parts = iid.split("-")
    tail = parts[3] + parts[4]
    octets = ", ".join(f"0x{tail[i:i + 2].lower()}" for i in range(0, 16, 2))
    return (f"__CRT_UUID_DECL({name}, 0x{parts[0].lower()}, 0x{parts[1].lower()}, "
            f"0x{parts[2].lower()}, {octets})")


def params_of(text):
    return "" if text.strip() == "void" else text


def method_lines(slot, method, params, width=100):
    head = f"  virtual HRESULT STDMETHODCALLTYPE {method}("
    one = f"{head}{params}) = 0;  // {slot}"
    if len(one) <= width:
        return [one]
    lines = [f"{head}  // {slot}"]
    pieces = [p.strip() for p in params.split(",")]
    line = "      "
    for i, piece in enumerate(pieces):
        piece += ") = 0;" if i == len(pieces) - 1 else ","
        if line.strip() and len(line) + 1 + len(piece) > width:
            lines.append(line)
            line = "      "
        line += (" " if line.strip() else "") + piece
    lines.append(line)
    return lines


def enum_lines(name, values):
    lines = [f"enum {name} : std::int32_t {{"]
    for key, value, comment in values:
        lines.append(f"  {name}_{key} = {value},{'  // ' + comment if comment else ''}")
    lines.append("};")
    if name in FLAG_ENUMS:
        lines.append(f"DEFINE_ENUM_FLAG_OPERATORS({name})")
    lines.append("")
    return lines


def header(facts_text):
    interfaces, enums = parse(facts_text)
    check(interfaces)
    known = {i.name for i in interfaces}
    referenced, enum_refs = [], []
    for itf in interfaces:
        for _, _, params in itf.methods:
            for word in re.findall(r"\bICoreWebView2\w*", params):
                if word not in known and word not in WINDOWS_INTERFACES \
                        and word not in referenced:
                    referenced.append(word)
            for word in re.findall(r"\bCOREWEBVIEW2_\w+", params):
                if word not in enum_refs:
                    enum_refs.append(word)
    declared_enums = {name for name, _ in enums}
    value_types = {"COREWEBVIEW2_COLOR", "COREWEBVIEW2_PHYSICAL_KEY_STATUS"}
    opaque_enums = [e for e in enum_refs
                    if e not in declared_enums and e not in value_types
                    and e not in ENUM_SUPPLEMENTS]

    out = []
    w = out.append
    w("// WebView2 COM interfaces as the host sees them: every slot of every")
    w("// interface the host calls, implements or receives, in virtual-table order.")
    w("// Slots the host never calls are declared too; a missing one would shift")
    w("// every later slot and make the runtime call the wrong function.")
    w("// Windows-only. Generated by scripts/gen_webview2_header.py: do not edit.")
    w("// clang-format off")
    w("#pragma once")
    w("")
    w("#include <windows.h>")
    w("#include <objidl.h>")
    w("#include <oaidl.h>")
    w("#include <eventtoken.h>")
    w("")
    w("#include <cstdint>")
    w("")
    w("// Interfaces declared below.")
    for itf in interfaces:
        w(f"struct {itf.name};")
    w("")
    w("// Value types passed to and from the runtime.")
    w("struct COREWEBVIEW2_COLOR {")
    w("  BYTE A;")
    w("  BYTE R;")
    w("  BYTE G;")
    w("  BYTE B;")
    w("};")
    w("")
    w("struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {")
    w("  UINT32 RepeatCount;")
    w("  UINT32 ScanCode;")
    w("  BOOL IsExtendedKey;")
    w("  BOOL IsMenuKeyDown;")
    w("  BOOL WasKeyDown;")
    w("  BOOL IsKeyReleased;")
    w("};")
    w("")
    w("// Enumerations (32-bit).")
    for name, values in enums:
        fixed = [(key, ENUM_FIXES.get((name, key), value),
                  "bit 4, above CANARY" if (name, key) in ENUM_FIXES else "")
                 for key, value in values]
        out.extend(enum_lines(name, fixed))
    for name, (comment, values) in ENUM_SUPPLEMENTS.items():
        w(f"// {comment}")
        out.extend(enum_lines(name, values))
    w("// Enumerations that only appear in slots the host never calls.")
    for name in opaque_enums:
        w(f"enum {name} : std::int32_t {{}};")
        if name in FLAG_ENUMS:
            w(f"DEFINE_ENUM_FLAG_OPERATORS({name})")
    w("")
    w("// Interfaces that only appear in slots the host never calls: opaque.")
    for name in referenced:
        w(f"struct {name} : public IUnknown {{}};")
    w("")
    for itf in interfaces:
        w(f"struct {itf.name} : public {itf.parent} {{")
        for slot, method, params in itf.methods:
            for line in method_lines(slot, method, params_of(params)):
                w(line)
        w("};")
        w(uuid_decl(itf.name, itf.iid))
        w("")
    w("// The same IIDs under their conventional names.")
    for itf in interfaces:
        line = f"inline const IID& IID_{itf.name} = __uuidof({itf.name});"
        if len(line) > 100:
            line = f"inline const IID& IID_{itf.name} =\n    __uuidof({itf.name});"
        w(line)
    w("")
    w("// Exports of WebView2Loader.dll, resolved at run time.")
    w("using GetAvailableCoreWebView2BrowserVersionStringFn =")
    w("    HRESULT(STDMETHODCALLTYPE*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);")
    w("using CreateCoreWebView2EnvironmentWithOptionsFn = HRESULT(STDMETHODCALLTYPE*)(")
    w("    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,")
    w("    ICoreWebView2EnvironmentOptions* environmentOptions,")
    w("    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);")
    w("using CreateCoreWebView2EnvironmentFn = HRESULT(STDMETHODCALLTYPE*)(")
    w("    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);")
    w("using CompareBrowserVersionsFn =")
    w("    HRESULT(STDMETHODCALLTYPE*)(PCWSTR version1, PCWSTR version2, int* result);")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) not in (2, 4) or (len(sys.argv) == 4 and sys.argv[2] != "--check"):
        sys.exit("usage: gen_webview2_header.py FACTS.md [--check HEADER]")
    text = header(open(sys.argv[1], encoding="utf-8").read())
    if len(sys.argv) == 2:
        sys.stdout.write(text)
        return
    with open(sys.argv[3], encoding="utf-8", newline="") as committed:
        if committed.read() != text:
            sys.exit(f"{sys.argv[3]} is not what gen_webview2_header.py writes from "
                     f"{sys.argv[1]}: change the script or the facts, then regenerate it")


if __name__ == "__main__":
    main()
