#!/usr/bin/env python3
"""Tells in plain words what the host did, from the stand-in runtime's transcript
(and the demo extension's record, when given). With --live, the transcript is
one of the live mode, where a real page made the requests and sent the messages."""
import json
import sys


def load(path):
    lines = []
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.strip()
                if line:
                    lines.append(json.loads(line))
    except FileNotFoundError:
        pass
    return lines


def size(n):
    return f"{n} bytes" if n < 10240 else f"{n / 1024:.1f} KiB"


def describe(ev, options):
    name = ev.get("ev", "")
    if name == "Loader.GetAvailableCoreWebView2BrowserVersionString":
        where = "the fixed runtime in '%s'" % ev["browserFolder"] if ev.get("browserFolder") else "the installed runtime"
        found = ev.get("version")
        return f"Runtime check: {where} {'found, version ' + found if found else 'NOT found'}"
    if name == "Loader.CreateCoreWebView2EnvironmentWithOptions":
        mode = ev.get("forcedHostingMode") or "windowed (runtime default)"
        return (f"Browser environment requested: user data in {ev.get('userDataFolder')}, hosting {mode}")
    if name.startswith("Options.get_"):
        options[name[len("Options.get_"):]] = ev.get("value", ev.get("count"))
        return None
    if name == "deliver:environment":
        args = options.get("AdditionalBrowserArguments")
        version = options.get("TargetCompatibleBrowserVersion")
        return (f"Environment created; options read by the runtime: browser arguments {json.dumps(args)}, "
                f"target version {version}")
    if name == "Environment.CreateCoreWebView2ControllerWithOptions":
        o = ev.get("options", {})
        return (f"Controller requested with background {o.get('defaultBackgroundColor')} (A,R,G,B), "
                f"host input processing {o.get('allowHostInputProcessing')}")
    if name == "Environment.CreateCoreWebView2Controller":
        return "Controller requested (runtime without controller options)"
    if name == "deliver:controller":
        return "Controller created and attached to the main window"
    if name == "WebView.AddWebResourceRequestedFilter":
        return f"Serving every request under {ev['uri'][:-1]} itself"
    if name == "WebView.Navigate":
        return f"Start page: {ev['uri']}"
    if name in ("step:request", "live:request"):
        r = ev.get("response") or {}
        headers = dict(line.split(": ", 1) for line in (r.get("headers") or "").split("\n") if ": " in line)
        body = (r.get("body") or {}).get("length", 0)
        extra = f", {headers['Content-Range']}" if "Content-Range" in headers else ""
        return (f"  {ev['method']} {ev['uri']} -> {r.get('status')} {r.get('reason')}, "
                f"{headers.get('Content-Type', '-')}, {size(body)}{extra}")
    if name == "step:dom-content-loaded":
        return "The page's document has loaded"
    if name == "step:record-window":
        l, t, r, b = ev["clientRect"]
        return (f"Main window '{ev['text']}': {'visible' if ev['visible'] else 'hidden'}, "
                f"client area {r - l} x {b - t}{', maximized' if ev.get('maximized') else ''}")
    if name == "step:message":
        return None
    if name == "WebView.PostWebMessageAsJson":
        return f"  host -> page: {ev['text']}"
    if name == "WebView.PostWebMessageAsJsonWithAdditionalObjects":
        slots = ev.get("objects") or []
        found = [s["path"] for s in slots if isinstance(s, dict)]
        return f"  host -> page: {ev['text']} with {len(found)} of {len(slots)} folder handles"
    if name == "step:title":
        return f"The page set its title to '{ev['title']}'"
    if name == "step:close-window":
        return "The user closes the window"
    if name == "destroyed:WebView":
        return "Shutdown: the host released the web view"
    return None


def describe_live(ev):
    name = ev.get("ev", "")
    if name == "live:message":
        return None if ev.get("isString") else "  page -> host: a message that is not a string (ignored)"
    if name == "WebMessageReceivedArgs.TryGetWebMessageAsString" and "value" in ev and ev["value"] is not None:
        return f"  page -> host: {ev['value']}"
    if name == "live:navigation-starting":
        return f"Navigation to {ev['uri']}: {'cancelled' if ev.get('cancel') else 'allowed'}"
    if name == "live:dom-content-loaded":
        return "The page's document has loaded"
    if name == "live:title":
        return f"The page's title is now '{ev['title']}'"
    if name == "Controller.put_Bounds":
        left, top, right, bottom = ev["value"]
        return f"  the page's view is now {right - left} x {bottom - top}"
    if name == "live:close-requested":
        return "The page asked to close the window"
    return None


def main_live(transcript, extension_record):
    options = {}
    for ev in load(transcript):
        text = describe(ev, options) or describe_live(ev)
        if text:
            print(text)
    calls = [describe_extension(call) for call in load(extension_record)]
    if any(calls):
        print("What the extension library saw:")
        print("\n".join("  " + text for text in calls if text))


def describe_extension(call):
    name = call.get("call")
    if name == "Init":
        return f"Extension Init (before the window exists), app folder {call.get('appFolder')}"
    if name == "OnMainWindowCreated":
        return f"Extension told of the main window (visible: {call.get('isVisible')})"
    if name == "OnExtensionMessage":
        return f"  page -> extension: {call.get('text')}"
    if name == "PostMessageToPage":
        return f"  extension -> page: {call.get('text')}"
    if name == "Release":
        return "Extension released at shutdown"
    return None


def main(transcript, scenario_messages, extension_record):
    options = {}
    # A step's line is written when the step is over: print it before what the host
    # did during it.
    pending = []
    for ev in load(transcript):
        name = ev.get("ev", "")
        if name == "step:message":
            text = f"  page -> host: {scenario_messages.pop(0) if scenario_messages else ''}"
        else:
            text = describe(ev, options)
        if name.startswith("step:"):
            if text:
                print(text)
            print("\n".join(pending)) if pending else None
            pending = []
        elif text:
            pending.append(text)
        if name == "deliver:controller":  # start-up is over; the steps follow
            print("\n".join(pending))
            pending = []
    if pending:
        print("\n".join(pending))
    calls = [describe_extension(call) for call in load(extension_record)]
    if any(calls):
        print("What the extension library saw:")
        print("\n".join("  " + text for text in calls if text))


if __name__ == "__main__":
    if sys.argv[1:2] == ["--live"]:
        main_live(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else "")
        sys.exit(0)
    messages = []
    if len(sys.argv) > 2:
        with open(sys.argv[2], encoding="utf-8") as f:
            for line in f:
                if line.startswith("message "):
                    messages.append(line.split(" ", 2)[2].strip())
    main(sys.argv[1], messages, sys.argv[3] if len(sys.argv) > 3 else "")
