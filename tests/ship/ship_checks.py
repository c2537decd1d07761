#!/usr/bin/env python3
"""tessarine-pack ship end to end: the native packer ships the Windows build's host, and
independent readers (pefile, icoutils' wrestool and icotool, zipinfo and unzip, makensis,
Wine) check what it wrote.

Environment: TESSARINE_PACK (the native tessarine-pack), TESSARINE_WINDOWS_BUILD (the
Windows build folder, with bin/ and test-bin/)."""
import json
import os
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import unittest
import zipfile
import zlib

import pefile

PACK = os.environ.get("TESSARINE_PACK", "")
WINDOWS = os.environ.get("TESSARINE_WINDOWS_BUILD", "")
HOST = os.path.join(WINDOWS, "bin", "tessarine.exe")
TEST_BIN = os.path.join(WINDOWS, "test-bin")
# Shaped like Microsoft's loader (it exports the environment call) but no test runtime.
LOADER = os.path.join(TEST_BIN, "e2e_loader_create_only.dll")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
RED, BLUE = (220, 30, 30, 255), (30, 60, 220, 255)
NOTICES = "THIRD-PARTY-NOTICES.txt"


def png(width, height, pixel):
    """A truecolour-with-alpha PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def read_png(data):
    """(width, height, rows of (r, g, b, a)) of an 8-bit RGBA or RGB PNG, not interlaced."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), (depth, colour)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 4 if colour == 6 else 3
    raw, stride, rows, previous = zlib.decompress(idat), width * channels, [], bytearray(width * channels)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                best = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
                line[i] = (line[i] + best) & 0xFF
        rows.append([tuple(line[x * channels:(x + 1) * channels]) + ((255,) if channels == 3 else ())
                     for x in range(width)])
        previous = line
    return width, height, rows


def ico_images(data):
    """Each image of an .ico: its directory fields and its bytes (wrestool pads the file's end)."""
    count = struct.unpack_from("<H", data, 4)[0]
    images = []
    for index in range(count):
        *fields, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        images.append((fields, data[offset:offset + length]))
    return images


def near(pixel, wanted, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, wanted))


class Ship(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tessarine-ship-")
        self.app = os.path.join(self.work, "source")
        self.package = {"name": "Skyward Lanterns", "main": "index.html", "version": "1.2.3",
                        "description": "Skyward Lanterns \u2013 a game", "publisher": "Lantern Works",
                        "copyright": "\u00a9 2026 Lantern Works",
                        "window": {"title": "Skyward Lanterns", "icon": "art/icon.png"}}
        self.write("www/index.html", b"<title>Lanterns</title><script src=main.js></script>")
        self.write("www/main.js", b"console.log('hello');\n" * 200)
        self.write("www/media/song.ogg", os.urandom(5000))
        # Wider than high: it must stay centred on a transparent square.
        self.write("art/icon.png", png(64, 48, lambda x, y: RED if x < 32 else BLUE))
        self.write(".git/config", b"[core]")
        self.write("notes.txt", b"not for players")
        shutil.copy(os.path.join(TEST_BIN, "Orvanta.dll"), os.path.join(self.app, "Orvanta.dll"))

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def write(self, relative, data):
        path = os.path.join(self.app, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)

    def ship(self, out="out/Game", *options, package=None, env=None):
        self.write("package.json", json.dumps(self.package if package is None else package).encode())
        arguments = [PACK, "ship", self.app, os.path.join(self.work, out), "--host", HOST, *options]
        if "--loader" not in options and "--webview2-sdk" not in options:
            arguments += ["--loader", LOADER]
        return subprocess.run(arguments, capture_output=True, text=True, env=env)

    def shipped(self, out="out/Game", *options, **keywords):
        result = self.ship(out, *options, **keywords)
        self.assertEqual(result.returncode, 0, result.stderr)
        return os.path.join(self.work, out), result

    def files_below(self, folder):
        return sorted(os.path.relpath(os.path.join(base, name), folder).replace(os.sep, "/")
                      for base, _, names in os.walk(folder) for name in names)


class ShippedFolder(Ship):
    def test_holds_what_ships_and_nothing_else(self):
        folder, result = self.shipped()
        self.assertEqual(self.files_below(folder), ["Orvanta.dll", "Skyward Lanterns.exe", "THIRD-PARTY-NOTICES.txt",
                                                    "WebView2Loader.dll", "art/icon.png", "package.json",
                                                    "www/assets.dat"])
        self.assertRegex(result.stdout, r"^Shipped 7 files \([0-9.]+ MiB\) to .*out/Game\n$")
        with open(os.path.join(folder, NOTICES), "rb") as shipped, open(os.path.join(ROOT, NOTICES), "rb") as tree:
            self.assertEqual(shipped.read(), tree.read())
        listing = subprocess.run([PACK, "list", os.path.join(folder, "www", "assets.dat")], capture_output=True,
                                 text=True, check=True).stdout
        self.assertEqual([line.split("\t")[0] for line in listing.splitlines()],
                         ["index.html", "main.js", "media/song.ogg"])

    def test_an_existing_bundle_ships_as_the_host_serves_it(self):
        # The bundle's copy of a name wins over the loose one, as in the host.
        bundled = os.path.join(self.work, "bundled")
        for name, data in (("index.html", b"from the bundle"), ("only-bundled.txt", b"b")):
            os.makedirs(bundled, exist_ok=True)
            with open(os.path.join(bundled, name), "wb") as out:
                out.write(data)
        subprocess.run([PACK, "create", bundled, os.path.join(self.app, "www", "assets.dat")], check=True,
                       capture_output=True)
        folder, _ = self.shipped()
        archive = os.path.join(folder, "www", "assets.dat")
        listing = subprocess.run([PACK, "list", archive], capture_output=True, text=True, check=True).stdout
        self.assertEqual([line.split("\t")[0] for line in listing.splitlines()],
                         ["index.html", "main.js", "media/song.ogg", "only-bundled.txt"])
        page = subprocess.run([PACK, "cat", archive, "index.html"], capture_output=True, check=True).stdout
        self.assertEqual(page, b"from the bundle")

    def test_loose_keeps_www_as_it_is_and_exe_name_is_made_safe(self):
        folder, _ = self.shipped("out/Game", "--loose", "--exe-name", 'Lan:terns?. ')
        self.assertIn("Lan_terns_.exe", os.listdir(folder))
        self.assertIn("www/main.js", self.files_below(folder))

    def test_version_resource_and_everything_else_of_the_host(self):
        folder, _ = self.shipped()
        before, after = pefile.PE(HOST), pefile.PE(os.path.join(folder, "Skyward Lanterns.exe"))
        self.assertTrue(after.verify_checksum(), "PE checksum")
        self.assertEqual(after.OPTIONAL_HEADER.SizeOfImage % after.OPTIONAL_HEADER.SectionAlignment, 0)
        strings = {key.decode(): value.decode() for info in after.FileInfo[0] if info.Key == b"StringFileInfo"
                   for table in info.StringTable for key, value in table.entries.items()}
        self.assertEqual(strings, {"CompanyName": "Lantern Works", "FileDescription": "Skyward Lanterns \u2013 a game",
                                   "FileVersion": "1.2.3", "InternalName": "Skyward Lanterns",
                                   "LegalCopyright": "\u00a9 2026 Lantern Works",
                                   "OriginalFilename": "Skyward Lanterns.exe", "ProductName": "Skyward Lanterns",
                                   "ProductVersion": "1.2.3"})
        fixed = after.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), (0x00010002, 0x00030000))

        def resources(pe, kind):
            entry = next(e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == kind)
            return {(name.id, str(name.name)): pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                    for name in entry.directory.entries for lang in name.directory.entries}
        self.assertEqual(resources(after, 24), resources(before, 24), "the manifest")
        self.assertEqual([(e.name, e.ordinal) for e in after.DIRECTORY_ENTRY_EXPORT.symbols],
                         [(e.name, e.ordinal) for e in before.DIRECTORY_ENTRY_EXPORT.symbols])
        for old, new in zip(before.sections, after.sections):
            if old.Name.startswith(b".rsrc"):
                break
            self.assertEqual(new.get_data(), old.get_data(), old.Name)
        self.assertEqual(set(resources(after, 14)), {(None, "MAINICON"), (32512, "None")})

    def test_every_icon_size_from_a_png(self):
        folder, _ = self.shipped()
        icons = os.path.join(self.work, "icons")
        os.makedirs(icons)
        exe = os.path.join(folder, "Skyward Lanterns.exe")
        subprocess.run(["wrestool", "-x", "-t", "14", "-n", "MAINICON", "-o", os.path.join(icons, "main.ico"), exe],
                       check=True)
        listing = subprocess.run(["icotool", "-l", os.path.join(icons, "main.ico")], capture_output=True, text=True,
                                 check=True).stdout
        sizes = sorted(int(line.split("--width=")[1].split()[0]) for line in listing.splitlines())
        self.assertEqual(sizes, [16, 24, 32, 48, 64, 128, 256])
        subprocess.run(["icotool", "-x", "-o", icons, os.path.join(icons, "main.ico")], check=True)
        for name in sorted(os.listdir(icons)):
            if not name.endswith(".png"):
                continue
            with open(os.path.join(icons, name), "rb") as image:
                width, height, rows = read_png(image.read())
            self.assertEqual(width, height, name)
            middle = height // 2
            self.assertTrue(near(rows[middle][width // 4], RED), (name, rows[middle][width // 4]))
            self.assertTrue(near(rows[middle][3 * width // 4], BLUE), (name, rows[middle][3 * width // 4]))
            self.assertEqual(rows[0][0][3], 0, f"{name}: the margin above the wide image is transparent")

    def test_an_ico_goes_in_as_it_is(self):
        # icotool makes the .ico from two PNGs; its images must reach the exe unchanged.
        icons = os.path.join(self.work, "made")
        os.makedirs(icons)
        for size in (16, 48):
            with open(os.path.join(icons, f"{size}.png"), "wb") as out:
                out.write(png(size, size, lambda x, y: BLUE))
        self.package["window"]["icon"] = "art/game.ico"
        subprocess.run(["icotool", "-c", "-o", os.path.join(self.app, "art", "game.ico"),
                        os.path.join(icons, "16.png"), os.path.join(icons, "48.png")], check=True)
        folder, _ = self.shipped()
        extracted = os.path.join(self.work, "back.ico")
        subprocess.run(["wrestool", "-x", "-t", "14", "-n", "MAINICON", "-o", extracted,
                        os.path.join(folder, "Skyward Lanterns.exe")], check=True)
        with open(extracted, "rb") as back, open(os.path.join(self.app, "art", "game.ico"), "rb") as original:
            self.assertEqual(ico_images(back.read()), ico_images(original.read()))


class Refusals(Ship):
    def assert_refused(self, result, message):
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        self.assertIn(message, result.stderr)
        self.assertEqual(result.stdout, "")
        self.assertFalse(os.path.exists(os.path.join(self.work, "out")), "nothing written")

    def test_each_bad_input_with_its_message(self):
        not_a_dll = os.path.join(self.work, "text.dll")
        with open(not_a_dll, "w") as out:
            out.write("MZ but nothing more")
        x86 = os.path.join(self.work, "x86.dll")
        with open(LOADER, "rb") as source:
            data = bytearray(source.read())
        machine = struct.unpack_from("<I", data, 0x3C)[0] + 4
        struct.pack_into("<H", data, machine, 0x14C)
        with open(x86, "wb") as out:
            out.write(data)
        sdk_without_loader = os.path.join(self.work, "empty.nupkg")
        with zipfile.ZipFile(sdk_without_loader, "w") as archive:
            archive.writestr("build/native/x86/WebView2Loader.dll", b"wrong architecture")

        def package(section, key, value):
            changed = json.loads(json.dumps(self.package))
            (changed.setdefault(section, {}) if section else changed)[key] = value
            return changed
        parse_failed = "the host would refuse it with \"Failed to parse package.json."
        missing_sdk = os.path.join(self.work, "missing.nupkg")
        cases = [
            ("content mode", package("settings", "content-mode", "web"), [], parse_failed),
            ("content mode reason", package("settings", "content-mode", "web"), [], "(invalid content mode)"),
            ("no name", package(None, "name", ""), [], "(invalid name)"),
            ("version", package(None, "version", "1.x"), [], "invalid version \"1.x\""),
            ("publisher", package(None, "publisher", 7), [], "\"publisher\" must be a string"),
            ("start page", package(None, "main", "start.html"), [], "the start page start.html"),
            ("missing icon", package("window", "icon", "art/none.png"), [],
             "icon " + os.path.join(self.app, "art/none.png") + " not found"),
            ("unsafe icon", package("window", "icon", "../x.png"), [], "icon ../x.png cannot be shipped"),
            ("unreadable icon", package("window", "icon", "notes.txt"), [], "not a readable image"),
            ("fixed runtime", package("settings", "distribution-mode", "fixed"), [], "msedgewebview2.exe not found"),
            ("test runtime", None, ["--loader", os.path.join(TEST_BIN, "WebView2Loader.dll")],
             "this is Tessarine's test runtime"),
            ("not a loader", None, ["--loader", os.path.join(TEST_BIN, "e2e_loader_version_only.dll")],
             "does not export CreateCoreWebView2EnvironmentWithOptions"),
            ("32-bit loader", None, ["--loader", x86], "not a 64-bit (x64) program or library"),
            ("text loader", None, ["--loader", not_a_dll], "not a Windows program or library"),
            ("sdk without x64", None, ["--webview2-sdk", sdk_without_loader],
             "has no build/native/x64/WebView2Loader.dll"),
            ("missing sdk", None, ["--webview2-sdk", missing_sdk], "cannot read " + missing_sdk),
            ("not the host", None, ["--host", os.path.join(TEST_BIN, "Orvanta.dll")], "not the Tessarine host"),
            ("failing signer", None, ["--sign-command", "false {file}"], "failed: false '"),
        ]
        for what, changed, options, message in cases:
            with self.subTest(what):
                before = sorted(os.listdir(self.work))
                self.assert_refused(self.ship("out/Game", *options, package=changed), message)
                self.assertEqual(sorted(os.listdir(self.work)), before, "no partial output left behind")

    def test_extension_library_checks(self):
        for library, message in (("OrvantaWithoutMessage.dll", "does not export OnExtensionMessage"),
                                 ("WebView2Loader.dll", "not an extension library")):
            with self.subTest(library):
                shutil.copy(os.path.join(TEST_BIN, library), os.path.join(self.app, "Orvanta.dll"))
                self.assert_refused(self.ship(), message)

    def test_without_a_loader_it_says_where_to_get_one(self):
        self.write("package.json", json.dumps(self.package).encode())
        result = subprocess.run([PACK, "ship", self.app, os.path.join(self.work, "out/Game"), "--host", HOST],
                                capture_output=True, text=True)
        self.assert_refused(result, "Give --webview2-sdk with the SDK package Microsoft.Web.WebView2")

    def test_a_folder_in_the_way(self):
        os.makedirs(os.path.join(self.work, "out", "Game", "old"))
        result = self.ship()
        self.assertEqual(result.returncode, 1)
        self.assertIn("exists already and is not empty", result.stderr)
        self.assertEqual(os.listdir(os.path.join(self.work, "out")), ["Game"])


class Zip(Ship):
    def test_the_same_inputs_give_the_same_bytes(self):
        env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
        first, _ = self.shipped("one/Game", "--zip", env=env)
        os.utime(os.path.join(self.app, "www", "main.js"), (1, 1))  # file times do not count
        second, result = self.shipped("two/Game", "--zip", env=env)
        zips = [os.path.join(os.path.dirname(folder), "Skyward Lanterns-1.2.3-win64.zip") for folder in (first, second)]
        self.assertIn(zips[1], result.stdout)
        with open(zips[0], "rb") as a, open(zips[1], "rb") as b:
            self.assertEqual(a.read(), b.read())
        info = subprocess.run(["zipinfo", zips[0]], capture_output=True, text=True, check=True).stdout
        self.assertRegex(info, r"stor 23-Nov-14 22:13 Skyward Lanterns/art/icon.png\n")
        self.assertRegex(info, r"defN 23-Nov-14 22:13 Skyward Lanterns/package.json\n")
        subprocess.run(["unzip", "-q", zips[0], "-d", os.path.join(self.work, "unpacked")], check=True)
        unpacked = os.path.join(self.work, "unpacked", "Skyward Lanterns")
        self.assertEqual(self.files_below(unpacked), self.files_below(first))
        for name in self.files_below(first):
            with open(os.path.join(first, name), "rb") as a, open(os.path.join(unpacked, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        self.assertRegex(info, r"defN 23-Nov-14 22:13 Skyward Lanterns/Skyward Lanterns.exe\n")


class Signing(Ship):
    def test_every_program_then_the_uninstaller_then_the_installer(self):
        log = os.path.join(self.work, "signed.txt")
        folder, _ = self.shipped("out/Game", "--installer", "--sign-command", f"echo {{file}} >> '{log}'")
        with open(log) as signed:
            names = [os.path.basename(line.strip()) for line in signed]
        self.assertEqual(names[:3], ["Orvanta.dll", "Skyward Lanterns.exe", "WebView2Loader.dll"])
        self.assertEqual(len(names), 5, names)  # the uninstaller makensis wrote, under a name of its own
        self.assertEqual(names[4], "Skyward Lanterns-1.2.3-setup.exe")
        self.assertTrue(os.path.isfile(os.path.join(self.work, "out", names[4])))


class Release(Ship):
    def test_each_archive_carries_the_licence_and_the_notices(self):
        dist = os.path.join(self.work, "dist")
        subprocess.run([os.path.join(ROOT, "scripts", "release"), dist], check=True, capture_output=True)
        self.assertEqual(len(os.listdir(dist)), 2)
        for name in os.listdir(dist):
            with tarfile.open(os.path.join(dist, name)) if "tar" in name else zipfile.ZipFile(
                    os.path.join(dist, name)) as archive:
                read = archive.read if "zip" in name else lambda item: archive.extractfile(item).read()
                top = name.rsplit("-", 1 if "zip" in name else 2)[0]
                for wanted in ("LICENSE", NOTICES):
                    with self.subTest(name, file=wanted), open(os.path.join(ROOT, wanted), "rb") as tree:
                        self.assertEqual(read(f"{top}/{wanted}"), tree.read())


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class WindowIcons(Ship):
    def test_the_shipped_program_under_wine_shows_the_games_icon_at_each_size(self):
        folder, _ = self.shipped()
        shutil.copy(os.path.join(TEST_BIN, "WebView2Loader.dll"), os.path.join(folder, "WebView2Loader.dll"))
        # Without an icon file named, the host takes the icon from its own resources: the
        # check then fails unless ship put the game's icon there.
        del self.package["window"]["icon"]
        with open(os.path.join(folder, "package.json"), "w") as out:
            json.dump(self.package, out)
        record, scenario = os.path.join(self.work, "record.jsonl"), os.path.join(self.app, "scenario.txt")
        self.write("scenario.txt", b"close-window\n")
        env = dict(os.environ, TESSARINE_TEST_EXTENSION_RECORD=windows_path(record),
                   TESSARINE_STANDIN_SCENARIO=windows_path(scenario))
        run = subprocess.run([WINE_RUN, os.path.join(TEST_BIN, "tessarine-msgbox-watcher.exe"), "--run",
                              "--timeout-ms", "60000", windows_path(os.path.join(folder, "Skyward Lanterns.exe"))],
                             capture_output=True, text=True, env=env, timeout=300)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        with open(record) as lines:
            window = next(line for line in map(json.loads, lines) if line["call"] == "OnMainWindowCreated")

        # The 64x48 picture drawn at each size: red left, blue right, a transparent margin.
        for kind, size in (("big", 32), ("small", 16)):
            with self.subTest(kind):
                icon = window["icons"][kind]
                self.assertEqual((icon["width"], icon["height"]), (size, size))
                shown = bytes.fromhex(icon["rgba"])
                pixel = lambda x, y: tuple(shown[(y * size + x) * 4:(y * size + x + 1) * 4])
                self.assertTrue(near(pixel(size // 4, size // 2), RED), pixel(size // 4, size // 2))
                self.assertTrue(near(pixel(3 * size // 4, size // 2), BLUE), pixel(3 * size // 4, size // 2))
                self.assertEqual(pixel(0, 0)[3], 0, "the margin above the wide image is transparent")


class Installer(Ship):
    """Built with makensis, installed and uninstalled silently under Wine; the installed
    game runs its page in the live engine, the test runtime put in place of the loader."""

    def wine(self, *arguments, timeout=300):
        return subprocess.run([WINE_RUN, *arguments], capture_output=True, text=True, timeout=timeout)

    def test_installs_runs_and_uninstalls_keeping_the_saves(self):
        name = f"ShipCheck{os.getpid()}"
        self.package.update(name=name, window={"title": "Ship Check", "icon": "art/icon.png"})
        self.write("www/index.html", b"<title>Ship Check</title><script>console.log('installed page: ' + "
                                     b"(location.origin === 'https://tessarine.localhost')); window.close();</script>")
        folder, _ = self.shipped("out/Game", "--installer", "--desktop-shortcut")
        setup = os.path.join(self.work, "out", f"{name}-1.2.3-setup.exe")
        self.assertEqual(self.wine(setup, "/S").returncode, 0)
        prefix = os.environ.get("TESSARINE_WINEPREFIX") or os.path.join(ROOT, "build", "wine-96")
        user = os.path.join(prefix, "drive_c", "users", os.environ.get("USER", "root"))
        program = os.path.join(user, "AppData", "Local", "Programs", name)
        saves = os.path.join(user, "AppData", "Local", name)
        shortcut = os.path.join(user, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                                "Ship Check.lnk")
        try:
            self.assertEqual(sorted(os.listdir(program)), sorted(os.listdir(folder) + ["uninstall.exe"]))
            self.assertTrue(os.path.isfile(shortcut), shortcut)
            key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name
            entry = self.wine("reg", "query", key).stdout
            for value in ("DisplayName    REG_SZ    Ship Check", "DisplayVersion    REG_SZ    1.2.3",
                          "Publisher    REG_SZ    Lantern Works", f"DisplayIcon    REG_SZ    ", f"{name}.exe,0",
                          "EstimatedSize    REG_DWORD", "QuietUninstallString    REG_SZ"):
                self.assertIn(value, entry)

            shutil.copy(os.path.join(TEST_BIN, "WebView2Loader.dll"), os.path.join(program, "WebView2Loader.dll"))
            run = subprocess.run(
                ["/usr/bin/python3", os.path.join(ROOT, "testing", "live", "bridge.py"), "--profile",
                 os.path.join(self.work, "profile"), "--timeout", "120", "--", WINE_RUN,
                 os.path.join(TEST_BIN, "tessarine-msgbox-watcher.exe"), "--run", "--timeout-ms", "120000",
                 windows_path(os.path.join(program, f"{name}.exe"))],
                capture_output=True, text=True, timeout=300)
            self.assertIn("log: installed page: true", run.stdout, run.stdout + run.stderr)
            self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

            os.makedirs(saves, exist_ok=True)
            with open(os.path.join(saves, "save.json"), "w") as save:
                save.write("{}")
            self.assertEqual(self.wine(os.path.join(program, "uninstall.exe"), "/S").returncode, 0)
            # The uninstaller runs from a copy of itself, which the call above does not wait for.
            subprocess.run(["wineserver", "-w"], env=dict(os.environ, WINEPREFIX=prefix), timeout=300)
            self.assertFalse(os.path.exists(program), "the program folder is gone")
            self.assertFalse(os.path.exists(shortcut), "the shortcut is gone")
            self.assertTrue(os.path.isfile(os.path.join(saves, "save.json")), "the saves stay")
            self.assertNotEqual(self.wine("reg", "query", key).returncode, 0, "the uninstall entry is gone")
        finally:
            shutil.rmtree(program, ignore_errors=True)
            shutil.rmtree(saves, ignore_errors=True)


if __name__ == "__main__":
    if not os.path.isfile(HOST) or not os.path.isfile(PACK):
        sys.exit(f"needs the native tessarine-pack ({PACK!r}) and the Windows build's host ({HOST!r}): "
                 "build both first (scripts/test builds the Windows build before this one)")
    unittest.main()
