#!/usr/bin/env python3
"""Packs the built show page into the ZIP archive compiled into the program.

    pack-site.py SITE_DIR OUT.zip [NAME=FILE ...]

Entries: every folder of SITE_DIR as its own entry (name ending in "/"), every file deflated
(empty files stored), relative names with "/" separators, then each NAME=FILE added at the
root. Fixed time stamps and sorted names make the archive the same on every build."""

import os
import sys
import zipfile

STAMP = (1980, 1, 1, 0, 0, 0)


def add(archive, name, data):
    info = zipfile.ZipInfo(name, date_time=STAMP)
    info.external_attr = 0o644 << 16
    info.compress_type = zipfile.ZIP_DEFLATED if data else zipfile.ZIP_STORED
    archive.writestr(info, data)


def main():
    site, out, extras = sys.argv[1], sys.argv[2], sys.argv[3:]
    partial = out + ".partial"

    with zipfile.ZipFile(partial, "w") as archive:
        if os.path.isdir(site):
            for folder, dirs, files in os.walk(site):
                dirs.sort()
                relative = os.path.relpath(folder, site)
                if relative != ".":
                    info = zipfile.ZipInfo(relative.replace(os.sep, "/") + "/", date_time=STAMP)
                    info.external_attr = (0o40755 << 16) | 0x10
                    archive.writestr(info, b"")
                for name in sorted(files):
                    path = os.path.join(folder, name)
                    with open(path, "rb") as f:
                        add(archive, os.path.relpath(path, site).replace(os.sep, "/"), f.read())

        for extra in extras:
            name, path = extra.split("=", 1)
            with open(path, "rb") as f:
                add(archive, name, f.read())

    os.replace(partial, out)


if __name__ == "__main__":
    main()
