"""ship --zip against cp -r: a 1 GiB app folder of 5,000 files, mostly media.

Called by scripts/bench --ship. The app folder and everything written from it live in
one scratch folder under build/ (same disk for both), removed at the end. Prints the two
median times and their ratio; the goal is at most 2x the copy.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MIB = 1 << 20


def make_app(folder, files, total):
    """Media (random bytes, which do not compress) and a few scripts, total bytes in all."""
    os.makedirs(os.path.join(folder, "www"))
    with open(os.path.join(folder, "package.json"), "w") as out:
        json.dump({"name": "BenchGame", "main": "index.html", "version": "1.0.0"}, out)
    texts = files // 10
    text_bytes = texts * 4096
    media_each = (total - text_bytes) // (files - texts)
    block = os.urandom(media_each + 4096)
    for index in range(files):
        kind = "js" if index < texts else ("png", "ogg", "webm", "jpg")[index % 4]
        path = os.path.join(folder, "www", "d%02d" % (index % 50), "f%05d.%s" % (index, kind))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            if kind == "js":
                out.write((b"console.log(%d);\n" % index) * 200)
            else:
                # Each file a different slice, so no two files are alike.
                at = index % 4096
                out.write(block[at:at + media_each])
    with open(os.path.join(folder, "www", "index.html"), "w") as out:
        out.write("<title>bench</title>")


def timed(commands, runs, before):
    """The median seconds of each command, run in turn so that both meet the same machine
    (on a shared one the cost of new files and pages drifts from minute to minute)."""
    times = [[] for _ in commands]
    for _ in range(runs):
        for command, spent in zip(commands, times):
            before()
            subprocess.run(["sync"], check=True)
            start = time.perf_counter()
            subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
            spent.append(time.perf_counter() - start)
    return [statistics.median(spent) for spent in times]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pack", required=True, help="the native tessarine-pack")
    parser.add_argument("--windows", required=True, help="the Windows build folder")
    parser.add_argument("--smoke", action="store_true", help="50 files of 20 MiB in all")
    parser.add_argument("--runs", type=int, default=5)
    options = parser.parse_args()
    files, total = (50, 20 * MIB) if options.smoke else (5000, 1024 * MIB)
    scratch = tempfile.mkdtemp(prefix="ship-bench-", dir=os.path.join(ROOT, "build"))
    try:
        app = os.path.join(scratch, "app")
        make_app(app, files, total)
        copy_to, ship_to = os.path.join(scratch, "copy"), os.path.join(scratch, "shipped")

        def clear():
            shutil.rmtree(copy_to, ignore_errors=True)
            shutil.rmtree(ship_to, ignore_errors=True)
            for name in os.listdir(scratch):
                if name.endswith(".zip"):
                    os.remove(os.path.join(scratch, name))
        host = os.path.join(options.windows, "bin", "tessarine.exe")
        loader = os.path.join(options.windows, "test-bin", "e2e_loader_create_only.dll")
        copy, ship = timed([["cp", "-r", app, copy_to],
                            [options.pack, "ship", app, ship_to, "--zip", "--host", host, "--loader", loader]],
                           options.runs, clear)
        print(f"ship --zip of {files} files, {total // MIB} MiB: {ship:.2f} s; cp -r: {copy:.2f} s; "
              f"ratio {ship / copy:.2f}x (goal: at most 2x)")
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
