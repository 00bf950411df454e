"""Writes a zip whose bytes depend only on the files' names and contents: reproducible-zip.py
ZIP TOP FOLDER EPOCH puts every file under FOLDER into ZIP as TOP/PATH (TOP/ itself first), in
sorted order, each with the time EPOCH (UTC, 1980 at the earliest), mode 0755 for folders and
files that someone may run and 0644 for the rest, deflated at level 9, with no extra fields."""
import os
import sys
import time
import zipfile

zip_path, top, folder, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
stamp = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
names = [""]
for parent, folders, files in os.walk(folder):
    for name in folders:
        names.append(os.path.relpath(os.path.join(parent, name), folder) + "/")
    for name in files:
        names.append(os.path.relpath(os.path.join(parent, name), folder))


def entry(name):
    info = zipfile.ZipInfo(f"{top}/{name}", date_time=stamp)
    info.create_system = 3  # Unix, so that the modes below count
    if name == "" or name.endswith("/"):
        info.external_attr = (0o40755 << 16) | 0x10  # 0x10: the MS-DOS folder flag
        return info, b""
    path = os.path.join(folder, name)
    info.external_attr = (0o100755 if os.stat(path).st_mode & 0o111 else 0o100644) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as file:
        return info, file.read()


with zipfile.ZipFile(zip_path + ".tmp", "w") as archive:
    for name in sorted(names):
        info, data = entry(name)
        archive.writestr(info, data, compresslevel=9)
os.replace(zip_path + ".tmp", zip_path)
