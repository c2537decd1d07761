"""Runs the serving benchmarks beside Electron's asar and reports them.

Called by scripts/bench, which builds the programs and installs what this needs.
Writes build/bench/results.json and build/bench/chart.png and prints a table.
All ratios compare figures taken in this one run on this machine.
"""

import argparse
import json
import os
import statistics
import struct
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "build", "bench")
ASAR = os.path.join(ROOT, "bench", "node_modules", "@electron", "asar", "bin", "asar.js")
MIB = 1 << 20


def run(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def run_json(command):
    return json.loads(run(command).strip().splitlines()[-1])


def file_name(index):
    return "assets/d%03d/f%06d.png" % (index // 100, index)


def make_folder(folder, count):
    """count small files of 100 to 499 bytes, 100 to a folder; kept between runs."""
    marker = folder + ".complete"
    if os.path.exists(marker):
        return
    for index in range(count):
        path = os.path.join(folder, file_name(index))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(bytes((index * 7 + k) & 0xFF for k in range(100 + index % 400)))
    open(marker, "w").close()


def timed(command, runs):
    """Median wall time of a command in milliseconds."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)


def write_sparse_archive(path, count, blob_bytes):
    """An archive whose blob is blob_bytes of nothing (a hole), cut into count files."""
    each = blob_bytes // count
    entries = []
    for index in range(count):
        name = file_name(index).replace(".png", ".bin").encode()
        entries.append(struct.pack(">IIQQQBI", 0, 0, index * each, each, 0, 0, len(name)) + name)
    directory = struct.pack(">I", count) + b"".join(entries)
    with open(path, "wb") as out:
        out.write(b"tzab" + struct.pack(">III", 0, 16, 0) + b"blob" + struct.pack(">Q", blob_bytes))
        out.seek(16 + 12 + blob_bytes)
        out.write(b"fdir" + struct.pack(">Q", len(directory)) + directory)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def app_folder(name, archive):
    """An app folder whose www\\assets.dat is the archive (a hard link)."""
    folder = os.path.join(OUT, name)
    www = os.path.join(folder, "www")
    os.makedirs(www, exist_ok=True)
    target = os.path.join(www, "assets.dat")
    if os.path.exists(target):
        os.remove(target)
    os.link(archive, target)
    return windows_path(folder) + "\\"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native", required=True, help="native build folder (g++ -O2)")
    parser.add_argument("--windows", required=True, help="Windows build folder")
    parser.add_argument("--smoke", action="store_true", help="tiny sizes and few runs: checks the machinery")
    args = parser.parse_args()

    core = os.path.join(args.native, "bench", "tessarine-bench-core")
    packer = os.path.join(args.native, "tools", "pack", "tessarine-pack")
    host = os.path.join(args.windows, "bin", "tessarine-bench-host.exe")
    wine = os.path.join(ROOT, "scripts", "wine-run")
    sizes = [200, 1000] if args.smoke else [1000, 10000, 50000, 100000]
    whole_sizes = [1024, MIB] if args.smoke else [1024, MIB, 64 * MIB, 256 * MIB]
    runs = 3 if args.smoke else 31
    data = os.path.join(OUT, "smoke" if args.smoke else "data")
    os.makedirs(data, exist_ok=True)
    results = {"machine": os.uname().nodename, "cores": os.cpu_count(), "smoke": args.smoke}

    # (a) opening: map and load beside asar's header read, and one validating pass.
    results["open"] = []
    archives = {}
    for count in sizes:
        folder = os.path.join(data, "files-%d" % count)
        make_folder(folder, count)
        archive = os.path.join(data, "files-%d.dat" % count)
        asar_archive = os.path.join(data, "files-%d.asar" % count)
        if not os.path.exists(archive):
            run([packer, "create", folder, archive])
        if not os.path.exists(asar_archive):
            run(["node", ASAR, "pack", folder, asar_archive])
        archives[count] = (folder, archive, asar_archive)
        ours = run_json([core, "open", archive, str(runs)])
        peer = run_json(["node", os.path.join(ROOT, "bench", "asar_header.js"), asar_archive, str(runs)])
        if ours["files"] != count or peer["files"] != count:
            sys.exit("bench: %d files expected, read %d and %d" % (count, ours["files"], peer["files"]))
        results["open"].append({
            "files": count, "tessarine_us": ours["open_us"], "load_us": ours["load_us"], "asar_us": peer["asar_us"],
            "ratio": peer["asar_us"] / ours["open_us"], "floor_us": ours["floor_us"],
            "load_over_floor": ours["load_over_floor"]})

    # (b) host work per request at the largest size: the core natively, the whole
    # handler under Wine.
    largest = sizes[-1]
    results["request_ns"] = run_json([core, "requests", archives[largest][1], str(runs)])
    results["request_ns_handler"] = run_json(
        [wine, host, "requests", app_folder("app-requests", archives[largest][1]), str(max(3, runs // 3))])

    # (c) a whole answer by entry size, under Wine.
    whole_folder = os.path.join(data, "whole")
    os.makedirs(whole_folder, exist_ok=True)
    names = []
    for size in whole_sizes:
        name = "entry-%d.bin" % size
        names.append(name)
        with open(os.path.join(whole_folder, name), "wb") as out:
            out.truncate(size)
    whole_archive = os.path.join(data, "whole.dat")
    run([packer, "create", whole_folder, whole_archive])
    whole = run_json([wine, host, "whole", app_folder("app-whole", whole_archive), str(runs)] + names)
    results["whole_answer_us"] = {str(e["bytes"]): e["host_us"] for e in whole["entries"]}
    results["whole_answer_rss_added_bytes"] = {str(e["bytes"]): e["rss_added_bytes"] for e in whole["entries"]}
    results["whole_answer_copy_us"] = {str(e["bytes"]): e["copy_us"] for e in whole["entries"]}

    # (d) resident memory added by opening a bundle with a 1 GiB blob.
    sparse = os.path.join(data, "sparse-1gib.dat")
    sparse_count = 2000 if args.smoke else 100000
    write_sparse_archive(sparse, sparse_count, (16 * MIB) if args.smoke else (1 << 30))
    rss = run_json([core, "rss", sparse])
    results["rss_added_bytes"] = rss["rss_added_bytes"]
    results["directory_bytes"] = rss["directory_bytes"]
    results["rss_archive_bytes"] = rss["archive_bytes"]

    # (e) create and list beside asar pack and asar list.
    folder, archive, asar_archive = archives[sizes[-2]]
    tool_runs = 1 if args.smoke else 3
    results["tools_ms"] = {
        "files": sizes[-2],
        "create": timed([packer, "create", folder, os.path.join(data, "create.dat")], tool_runs),
        "asar_pack": timed(["node", ASAR, "pack", folder, os.path.join(data, "create.asar")], tool_runs),
        "list": timed([packer, "list", archive], tool_runs),
        "asar_list": timed(["node", ASAR, "list", asar_archive], tool_runs),
    }

    results["goals"] = evaluate(results)
    with open(os.path.join(OUT, "results.json"), "w") as out:
        json.dump(results, out, indent=2)
    print_table(results)
    draw(results, os.path.join(OUT, "chart.png"))
    print("\nwrote %s and %s" % (os.path.join(OUT, "results.json"), os.path.join(OUT, "chart.png")))


def evaluate(results):
    at = {row["files"]: row for row in results["open"]}
    open_row = at.get(50000, results["open"][-1])
    whole = results["whole_answer_us"]
    small, big = whole[min(whole, key=int)], whole[max(whole, key=int)]
    big_rss = results["whole_answer_rss_added_bytes"][max(whole, key=int)]
    return [
        {"goal": "open %d files >= 25x faster than asar's header read" % open_row["files"],
         "value": round(open_row["ratio"], 1), "met": open_row["ratio"] >= 25},
        {"goal": "load within 5x of one validating pass (%d files)" % open_row["files"],
         "value": round(open_row["load_over_floor"], 2), "met": open_row["load_over_floor"] <= 5},
        {"goal": "host work per request (lookup + head) <= 250 ns, hit/miss/range",
         "value": max(results["request_ns"][k] for k in ("hit", "miss", "range")),
         "met": max(results["request_ns"][k] for k in ("hit", "miss", "range")) <= 250},
        {"goal": "whole answer of the largest entry within 2x of the smallest",
         "value": round(big / small, 2), "met": big <= 2 * small},
        {"goal": "whole answer of the largest entry adds no resident memory (< 1 MiB)",
         "value": big_rss, "met": big_rss < MIB},
        {"goal": "opening adds at most twice the directory's size to resident memory",
         "value": round(results["rss_added_bytes"] / results["directory_bytes"], 2),
         "met": results["rss_added_bytes"] <= 2 * results["directory_bytes"]},
    ]


def print_table(results):
    print("(a) bundle open (median us)")
    print("%9s %12s %10s %10s %8s %10s %8s" % ("files", "tessarine", "load", "asar", "ratio", "floor", "load/fl"))
    for row in results["open"]:
        print("%9d %12.1f %10.1f %10.1f %7.1fx %10.1f %7.2fx" % (
            row["files"], row["tessarine_us"], row["load_us"], row["asar_us"], row["ratio"], row["floor_us"],
            row["load_over_floor"]))
    core, handler = results["request_ns"], results["request_ns_handler"]
    print("\n(b) host work per request at %d entries (median ns)" % core["files"])
    print("%-34s %8s %8s %8s" % ("", "hit", "miss", "range"))
    print("%-34s %8.1f %8.1f %8.1f" % ("lookup + head (native)", core["hit"], core["miss"], core["range"]))
    print("%-34s %8.1f" % ("the same with the old tree (native)", core["tree_hit"]))
    print("%-34s %8.1f %8.1f %8.1f" % ("whole handler (Wine)", handler["hit"], handler["miss"], handler["range"]))
    print("\n(c) whole answer from the bundle (Wine)")
    print("%12s %12s %16s %14s" % ("bytes", "host us", "resident added", "copy us (old)"))
    for size in sorted(results["whole_answer_us"], key=int):
        print("%12s %12.2f %16d %14.1f" % (size, results["whole_answer_us"][size],
                                           results["whole_answer_rss_added_bytes"][size],
                                           results["whole_answer_copy_us"][size]))
    print("\n(d) opening a %d-byte archive: %d bytes resident added, directory %d bytes (%.2fx)" % (
        results["rss_archive_bytes"], results["rss_added_bytes"], results["directory_bytes"],
        results["rss_added_bytes"] / results["directory_bytes"]))
    tools = results["tools_ms"]
    print("\n(e) tools on %d files (median ms): create %.0f, asar pack %.0f; list %.0f, asar list %.0f" % (
        tools["files"], tools["create"], tools["asar_pack"], tools["list"], tools["asar_list"]))
    print("\ngoals")
    for goal in results["goals"]:
        print("  [%s] %s: %s" % ("met" if goal["met"] else "NOT MET", goal["goal"], goal["value"]))


def draw(results, path):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    figure, (opening, whole) = plt.subplots(1, 2, figsize=(12, 4.5))
    files = [row["files"] for row in results["open"]]
    for key, label in (("tessarine_us", "tessarine open (map + load)"), ("load_us", "tessarine load"),
                       ("floor_us", "one validating pass"), ("asar_us", "asar header read")):
        opening.plot(files, [row[key] for row in results["open"]], marker="o", label=label)
    opening.set(xscale="log", yscale="log", xlabel="files in the bundle", ylabel="microseconds (median)",
                title="(a) opening a bundle")
    opening.legend()
    sizes = sorted(results["whole_answer_us"], key=int)
    whole.plot([int(s) for s in sizes], [results["whole_answer_us"][s] for s in sizes], marker="o",
               label="host time of a whole answer")
    whole.plot([int(s) for s in sizes], [results["whole_answer_copy_us"][s] for s in sizes], marker="s",
               linestyle="--", label="copying the entry (what an answer cost before)")
    whole.set(xscale="log", yscale="log", xlabel="entry size (bytes)", ylabel="microseconds (median)",
              title="(c) a whole answer from the bundle")
    whole.legend()
    figure.tight_layout()
    figure.savefig(path, dpi=100)


if __name__ == "__main__":
    main()
