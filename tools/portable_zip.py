#!/usr/bin/env python3
"""Writes the portable zip with the same bytes every time for the same input:
entries in the order given, each stored under its file name, dated from
SOURCE_DATE_EPOCH (UTC), marked as written on MS-DOS with the archive
attribute, deflated at level 9.

    portable_zip.py OUT.zip FILE...
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest date a zip entry can carry


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 1
    out, files = argv[1], argv[2:]
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", ZIP_EPOCH)), ZIP_EPOCH)
    date = time.gmtime(epoch)[:6]
    names = [os.path.basename(f) for f in files]
    if len(set(n.lower() for n in names)) != len(names):
        sys.stderr.write("portable_zip: two entries with the same name\n")
        return 1
    tmp = out + ".part"
    with zipfile.ZipFile(tmp, "w") as archive:
        for path, name in zip(files, names):
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
