#!/usr/bin/env python3
"""Writes a release archive whose bytes depend only on the files: sorted entries, one
time for all (SOURCE_DATE_EPOCH), fixed owners and modes.

release-archive.py zip|tar ARCHIVE TOP FILE... ; a FILE goes in as TOP/<its name>, one
written "name=path" as TOP/name."""
import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def entries(top, items):
    out = []
    for item in items:
        name, _, path = item.partition("=") if "=" in item else (os.path.basename(item), "", item)
        out.append((f"{top}/{name}", path))
    return sorted(out)


def main():
    kind, archive, top, *items = sys.argv[1:]
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "1577836800"))
    files = entries(top, items)
    temporary = archive + ".partial"
    if kind == "zip":
        date = time.gmtime(max(stamp, 315532800))[:6]
        with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as out:
            for name, path in files:
                info = zipfile.ZipInfo(name, date)
                info.compress_type = zipfile.ZIP_DEFLATED
                info.external_attr = (0o755 if name.endswith(".exe") else 0o644) << 16
                info.create_system = 3
                with open(path, "rb") as source:
                    out.writestr(info, source.read())
    else:
        buffer = io.BytesIO()
        with tarfile.open(fileobj=buffer, mode="w", format=tarfile.PAX_FORMAT) as out:
            for name, path in files:
                info = tarfile.TarInfo(name)
                info.size = os.path.getsize(path)
                info.mtime, info.uid, info.gid, info.uname, info.gname = stamp, 0, 0, "", ""
                info.mode = 0o755 if os.access(path, os.X_OK) or name.endswith(".exe") else 0o644
                with open(path, "rb") as source:
                    out.addfile(info, source)
        with open(temporary, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", mtime=0, filename="") as packed:
            packed.write(buffer.getvalue())
    os.replace(temporary, archive)


if __name__ == "__main__":
    main()
