"""The play script of scripts/run-app --input: a JSON array of steps, each an object
with one member naming what it does. Read and checked whole before the run starts."""
import json
import string

# A web key name: (its code, the Windows virtual-key code pages read as keyCode/which, the
# text it types or None).
KEYS = {
    "Enter": ("Enter", 13, "\r"), "Tab": ("Tab", 9, None), "Backspace": ("Backspace", 8, None),
    "Escape": ("Escape", 27, None), " ": ("Space", 32, " "), "Delete": ("Delete", 46, None),
    "Insert": ("Insert", 45, None), "Home": ("Home", 36, None), "End": ("End", 35, None),
    "PageUp": ("PageUp", 33, None), "PageDown": ("PageDown", 34, None),
    "ArrowLeft": ("ArrowLeft", 37, None), "ArrowUp": ("ArrowUp", 38, None),
    "ArrowRight": ("ArrowRight", 39, None), "ArrowDown": ("ArrowDown", 40, None),
    "Shift": ("ShiftLeft", 16, None), "Control": ("ControlLeft", 17, None), "Alt": ("AltLeft", 18, None),
    "Meta": ("MetaLeft", 91, None),
    **{f"F{n}": (f"F{n}", 111 + n, None) for n in range(1, 13)},
    **{c: (f"Key{c.upper()}", ord(c.upper()), c) for c in string.ascii_letters},
    **{c: (f"Digit{c}", ord(c), c) for c in string.digits},
    # The US layout's unshifted punctuation.
    **{c: (code, vk, c) for c, code, vk in [
        ("-", "Minus", 189), ("=", "Equal", 187), ("[", "BracketLeft", 219), ("]", "BracketRight", 221),
        ("\\", "Backslash", 220), (";", "Semicolon", 186), ("'", "Quote", 222), (",", "Comma", 188),
        (".", "Period", 190), ("/", "Slash", 191), ("`", "Backquote", 192)]},
}
# Held modifier keys, as the protocol's modifier bits.
MODIFIERS = {"Alt": 1, "Control": 2, "Meta": 4, "Shift": 8}


class ScriptError(Exception):
    pass


def _key(value):
    if value not in KEYS:
        raise ValueError(f"unknown key {json.dumps(value)} (keys are named as the web names them: "
                         "\"ArrowLeft\", \"Enter\", \"a\")")
    return value


def _text(value):
    if not isinstance(value, str):
        raise ValueError("needs a string")
    return value


def _point(value):
    if (not isinstance(value, list) or len(value) != 2
            or not all(isinstance(n, (int, float)) and not isinstance(n, bool) for n in value)):
        raise ValueError("needs two numbers, [x, y]")
    return value


def _milliseconds(value):
    if not isinstance(value, (int, float)) or isinstance(value, bool) or value < 0:
        raise ValueError("needs a number of milliseconds, 0 or more")
    return value


# Every step the player knows, with the check of its value.
STEPS = {"key": _key, "keydown": _key, "keyup": _key, "text": _text, "click": _point, "move": _point,
         "wheel": _point, "wait": _milliseconds, "screenshot": _text, "eval": _text, "expect": _text,
         "until": _text}


def parse_steps(steps):
    """The steps as (kind, value) pairs; ScriptError names the first bad one."""
    if not isinstance(steps, list):
        raise ScriptError("the script must be a JSON array of steps")
    parsed = []
    for number, step in enumerate(steps, 1):
        if not isinstance(step, dict) or len(step) != 1:
            raise ScriptError(f"step {number}: a step is an object with one member, such as {{\"key\": \"ArrowLeft\"}}")
        (kind, value), = step.items()
        if kind not in STEPS:
            raise ScriptError(f"step {number}: unknown step {json.dumps(kind)} (known: {', '.join(STEPS)})")
        try:
            parsed.append((kind, STEPS[kind](value)))
        except ValueError as error:
            raise ScriptError(f"step {number}: {kind} {error}") from None
    return parsed


def load_steps(path):
    try:
        with open(path, encoding="utf-8") as file:
            steps = json.load(file)
    except OSError as error:
        raise ScriptError(f"cannot read {path}: {error.strerror}") from None
    except ValueError as error:
        raise ScriptError(f"{path} is not JSON: {error}") from None
    try:
        return parse_steps(steps)
    except ScriptError as error:
        raise ScriptError(f"{path}: {error}") from None


if __name__ == "__main__":
    import sys
    try:
        load_steps(sys.argv[1])
    except ScriptError as error:
        print(f"fail: {error}")
        sys.exit(1)
