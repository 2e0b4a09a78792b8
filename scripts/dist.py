#!/usr/bin/env python3
"""The release's files, made so that the same inputs give the same bytes, and their checks.

Called by scripts/package.sh and scripts/release-tests.sh:
  dist.py readme SOURCE OUT VERSION         the read-me in code page 1252 with CR LF line ends
  dist.py zip OUT EPOCH FILE...             a zip of the files, in this order, all with the time EPOCH
  dist.py msi OUT ARCH VERSION EPOCH FOLDER ICON
                                            the installer (x86 or x64) of the files in FOLDER
  dist.py manifests DIST VERSION_H BASEURL  the winget and Scoop manifests for the zips in DIST
  dist.py sums DIST                         SHA256SUMS over every other file in DIST
  dist.py check DIST                        the sums, the manifests and the zips agree
"""
import datetime
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import uuid
import zipfile

import yaml

# Product and package codes are name-based UUIDs in this namespace: the same version and files
# give the same codes.
CODE_NAMESPACE = uuid.UUID("6B1E3F0A-93C4-4D2B-8E57-0C2A9F61D4E8")
WINGET_ID = "Quelix.DiskInfo"
WINGET_LOCALE = "de-DE"
MANIFEST_VERSION = "1.6.0"
LICENSE = "Proprietary"
# The zips' architectures as winget and Scoop name them.
ARCHITECTURES = [("win32", "x86", "32bit"), ("win64", "x64", "64bit")]
PROGRAMS = ["Sandrivo.exe", "sandrivo-report.exe"]
README = "LIESMICH.txt"
SUMS = "SHA256SUMS"


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fail(message):
    print("dist.py: " + message, file=sys.stderr)
    sys.exit(1)


def readme(source, out, version):
    with open(source, encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    with open(out, "wb") as f:
        f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252"))


def write_zip(out, epoch, files):
    moment = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc)
    # Info-ZIP's extended time stamp: the same moment in UTC, for the tools that read it.
    utc_time = struct.pack("<HHBI", 0x5455, 5, 1, int(epoch))
    with zipfile.ZipFile(out, "w") as archive:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), moment.timetuple()[:6])
            info.create_system = 0  # MS-DOS: no Unix permissions in the archive
            info.external_attr = 0x20  # the archive attribute, as Windows' own zips set it
            info.compress_type = zipfile.ZIP_DEFLATED
            info.extra = utc_time
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


def codes(version, arch, files):
    digest = hashlib.sha256()
    for path in files:
        digest.update(os.path.basename(path).encode() + b"\0")
        with open(path, "rb") as f:
            digest.update(f.read())
    product = uuid.uuid5(CODE_NAMESPACE, "product %s %s" % (version, arch))
    package = uuid.uuid5(CODE_NAMESPACE, "package %s %s %s" % (version, arch, digest.hexdigest()))
    return str(product).upper(), str(package).upper()


def compound_stream_offsets(data, name):
    """The file offsets of each byte of the named stream at the top of a compound file (the
    container an installer database is), following the sector chains."""
    u16 = lambda at: struct.unpack_from("<H", data, at)[0]
    u32 = lambda at: struct.unpack_from("<I", data, at)[0]
    if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
        fail("not a compound file")
    sector = 1 << u16(0x1E)
    mini = 1 << u16(0x20)
    difat = [u32(0x4C + 4 * i) for i in range(109)]
    next_difat = u32(0x44)
    for _ in range(u32(0x48)):
        entries = struct.unpack_from("<%dI" % (sector // 4), data, (next_difat + 1) * sector)
        difat += entries[:-1]
        next_difat = entries[-1]
    fat = []
    for s in difat[: u32(0x2C)]:
        fat += struct.unpack_from("<%dI" % (sector // 4), data, (s + 1) * sector)

    def chain(start, table):
        out = []
        while start < 0xFFFFFFFA:
            out.append(start)
            start = table[start]
        return out

    def sector_bytes(start):
        return [(s + 1) * sector + i for s in chain(start, fat) for i in range(sector)]

    directory = sector_bytes(u32(0x30))
    entries = []
    for at in range(0, len(directory), 128):
        raw = bytes(data[o] for o in directory[at : at + 128])
        length = struct.unpack_from("<H", raw, 64)[0]
        entries.append(
            (raw[: max(length - 2, 0)].decode("utf-16-le"), *struct.unpack_from("<II", raw, 116))
        )
    found = [e for e in entries if e[0] == name]
    if not found:
        fail("no stream %r" % name)
    _, start, size = found[0]
    if size >= u32(0x38):
        return sector_bytes(start)[:size]
    minifat = []
    for s in chain(u32(0x3C), fat):
        minifat += struct.unpack_from("<%dI" % (sector // 4), data, (s + 1) * sector)
    mini_stream = sector_bytes(entries[0][1])
    return [mini_stream[m * mini + i] for m in chain(start, minifat) for i in range(mini)][:size]


def msi_stamp(path, package_code, epoch):
    """Sets the summary's revision number (the package code) and its creation and save times,
    which the installer builder takes from chance and the clock."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    offsets = compound_stream_offsets(data, "\x05SummaryInformation")
    stream = bytearray(data[o] for o in offsets)
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    filetime = (int(epoch) + 11644473600) * 10**7
    done = set()
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        at += section
        kind = struct.unpack_from("<I", stream, at)[0]
        if pid == 9 and kind == 30:  # the revision number, a text
            text = ("{%s}" % package_code).encode("ascii") + b"\0"
            if struct.unpack_from("<I", stream, at + 4)[0] != len(text):
                fail("the revision number has an unexpected length")
            stream[at + 8 : at + 8 + len(text)] = text
            done.add(pid)
        elif pid in (12, 13) and kind == 64:  # created and last saved, FILETIMEs
            struct.pack_into("<Q", stream, at + 4, filetime)
            done.add(pid)
    if done != {9, 12, 13}:
        fail("the summary lacks a revision number or a time")
    for o, b in zip(offsets, stream):
        data[o] = b
    with open(path, "wb") as f:
        f.write(data)


def build_msi(out, arch, version, epoch, folder, icon):
    """Builds the installer from resources/installer/Sandrivo.wxs with wixl, then gives it the
    package code and time that make it the same for the same files."""
    wxs = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "installer", "Sandrivo.wxs")
    files = [os.path.join(folder, name) for name in [README] + PROGRAMS]
    product_code, package_code = codes(version, arch, [wxs, icon] + files)
    # wixl finds the files by paths relative to where it runs; the cabinet holds local times.
    where = os.path.dirname(os.path.abspath(folder))
    subprocess.run(
        ["wixl", "-a", arch, "-D", "Arch=" + arch, "-D", "Version=" + version,
         "-D", "ProductCode=" + product_code, "-D", "PackageCode=" + package_code,
         "-D", "SourceDir=" + os.path.basename(folder), "-D", "IconFile=" + os.path.relpath(icon, where),
         "-o", os.path.abspath(out), os.path.abspath(wxs)],
        cwd=where, env=dict(os.environ, TZ="UTC"), check=True)
    msi_stamp(out, package_code, epoch)


def version_header(path):
    """The product's texts from the generated version.h, decoded from code page 1252."""
    texts = {}
    with open(path, encoding="ascii") as f:
        for m in re.finditer(r'#define SANDRIVO_(\w+) "((?:[^"\\]|\\.)*)"', f.read()):
            raw = re.sub(r"\\([0-7]{3})", lambda o: chr(int(o.group(1), 8)), m.group(2))
            texts[m.group(1)] = raw.encode("latin-1").decode("cp1252")
    return texts


def zip_name(version, arch):
    return "Sandrivo-%s-%s.zip" % (version, arch)


def manifests(dist, header, base_url):
    texts = version_header(header)
    version = texts["VERSION_TEXT"]
    epoch = int(open(os.path.join(os.path.dirname(header), "source-date-epoch")).read())
    date = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc).strftime("%Y-%m-%d")
    homepage = "http://www.quelix.de/"
    base_url = base_url.rstrip("/") + "/"

    def dump(path, document):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            yaml.safe_dump(document, f, sort_keys=False, allow_unicode=True, width=200)

    common = {"PackageIdentifier": WINGET_ID, "PackageVersion": version}
    installers = [
        {
            "Architecture": winget,
            "InstallerUrl": base_url + zip_name(version, arch),
            "InstallerSha256": sha256(os.path.join(dist, zip_name(version, arch))).upper(),
        }
        for arch, winget, _ in ARCHITECTURES
    ]
    folder = os.path.join(dist, "winget")
    dump(os.path.join(folder, WINGET_ID + ".yaml"), {
        **common, "DefaultLocale": WINGET_LOCALE, "ManifestType": "version",
        "ManifestVersion": MANIFEST_VERSION})
    dump(os.path.join(folder, WINGET_ID + ".installer.yaml"), {
        **common, "InstallerType": "zip", "NestedInstallerType": "portable",
        "NestedInstallerFiles": [
            {"RelativeFilePath": "Sandrivo.exe", "PortableCommandAlias": "sandrivo"},
            {"RelativeFilePath": "sandrivo-report.exe", "PortableCommandAlias": "sandrivo-report"}],
        "ReleaseDate": date, "Installers": installers, "ManifestType": "installer",
        "ManifestVersion": MANIFEST_VERSION})
    dump(os.path.join(folder, "%s.locale.%s.yaml" % (WINGET_ID, WINGET_LOCALE)), {
        **common, "PackageLocale": WINGET_LOCALE, "Publisher": texts["COMPANY_NAME"],
        "PublisherUrl": homepage, "PackageName": texts["PRODUCT_NAME"], "PackageUrl": homepage,
        "License": LICENSE, "Copyright": texts["COPYRIGHT"], "ShortDescription": texts["COMMENTS"],
        "Moniker": "sandrivo", "Tags": ["laufwerk", "festplatte", "speicherplatz"],
        "ManifestType": "defaultLocale", "ManifestVersion": MANIFEST_VERSION})
    scoop = {
        "version": version,
        "description": "%s: %s" % (texts["PRODUCT_NAME"], texts["COMMENTS"]),
        "homepage": homepage,
        "license": LICENSE,
        "architecture": {
            scoop_arch: {
                "url": base_url + zip_name(version, arch),
                "hash": sha256(os.path.join(dist, zip_name(version, arch))),
            }
            for arch, _, scoop_arch in ARCHITECTURES
        },
        "bin": "sandrivo-report.exe",
        "shortcuts": [["Sandrivo.exe", texts["PRODUCT_NAME"]]],
    }
    os.makedirs(os.path.join(dist, "scoop"), exist_ok=True)
    with open(os.path.join(dist, "scoop", "sandrivo.json"), "w", encoding="utf-8") as f:
        json.dump(scoop, f, indent=4, ensure_ascii=False)
        f.write("\n")


def dist_files(dist):
    files = []
    for folder, _, names in os.walk(dist):
        for name in names:
            files.append(os.path.relpath(os.path.join(folder, name), dist))
    return sorted(f for f in files if f != SUMS)


def sums(dist):
    with open(os.path.join(dist, SUMS), "w", encoding="ascii", newline="\n") as f:
        for name in dist_files(dist):
            f.write("%s  %s\n" % (sha256(os.path.join(dist, name)), name))


def check(dist):
    errors = []
    listed = {}
    with open(os.path.join(dist, SUMS), encoding="ascii") as f:
        for line in f:
            digest, name = line.rstrip("\n").split("  ", 1)
            listed[name] = digest
    if sorted(listed) != dist_files(dist):
        errors.append("%s lists %s, the folder holds %s" % (SUMS, sorted(listed), dist_files(dist)))
    for name, digest in listed.items():
        if os.path.exists(os.path.join(dist, name)) and sha256(os.path.join(dist, name)) != digest:
            errors.append("%s: the hash in %s is not the file's" % (name, SUMS))

    def load_yaml(name):
        with open(os.path.join(dist, "winget", name), encoding="utf-8") as f:
            return yaml.safe_load(f)

    version = load_yaml(WINGET_ID + ".yaml")
    installer = load_yaml(WINGET_ID + ".installer.yaml")
    locale = load_yaml("%s.locale.%s.yaml" % (WINGET_ID, WINGET_LOCALE))
    with open(os.path.join(dist, "scoop", "sandrivo.json"), encoding="utf-8") as f:
        scoop = json.load(f)
    number = scoop["version"]
    for document, kind in ((version, "version"), (installer, "installer"), (locale, "defaultLocale")):
        if (document.get("PackageIdentifier"), document.get("PackageVersion")) != (WINGET_ID, number):
            errors.append("winget %s manifest: identifier or version is not %s %s" % (kind, WINGET_ID, number))
        if document.get("ManifestType") != kind or document.get("ManifestVersion") != MANIFEST_VERSION:
            errors.append("winget %s manifest: wrong type or manifest version" % kind)
    for key in ("Publisher", "PackageName", "License", "ShortDescription"):
        if not locale.get(key):
            errors.append("winget locale manifest: %s missing" % key)
    if (installer.get("InstallerType"), installer.get("NestedInstallerType")) != ("zip", "portable"):
        errors.append("winget installer manifest: not a portable program in a zip")
    nested = [entry["RelativeFilePath"] for entry in installer.get("NestedInstallerFiles", [])]
    by_winget = {entry["Architecture"]: entry for entry in installer.get("Installers", [])}
    for arch, winget, scoop_arch in ARCHITECTURES:
        name = zip_name(number, arch)
        path = os.path.join(dist, name)
        if not os.path.exists(path):
            errors.append("%s missing" % name)
            continue
        digest = sha256(path)
        entry = by_winget.get(winget, {})
        if entry.get("InstallerSha256", "").lower() != digest or not entry.get("InstallerUrl", "").endswith("/" + name):
            errors.append("winget installer manifest: %s entry does not name %s with its hash" % (winget, name))
        entry = scoop.get("architecture", {}).get(scoop_arch, {})
        if entry.get("hash") != digest or not entry.get("url", "").endswith("/" + name):
            errors.append("Scoop manifest: %s entry does not name %s with its hash" % (scoop_arch, name))
        with zipfile.ZipFile(path) as archive:
            names = archive.namelist()
            if names != [README] + PROGRAMS:
                errors.append("%s holds %s" % (name, names))
                continue
            text = archive.read(README)
            if b"\n" in text.replace(b"\r\n", b"") or not text.decode("cp1252").startswith("Quelix Disk-Info " + number):
                errors.append("%s: %s is not the version's read-me with CR LF line ends" % (name, README))
        missing = [f for f in nested + [scoop.get("bin")] + [s[0] for s in scoop.get("shortcuts", [])] if f not in names]
        if missing:
            errors.append("%s lacks what the manifests name: %s" % (name, missing))
    for error in errors:
        print("dist check: " + error, file=sys.stderr)
    if errors:
        sys.exit(1)
    print("dist check: %d files, sums and manifests agree" % len(listed))


def main(args):
    command, rest = args[0], args[1:]
    if command == "readme":
        readme(*rest)
    elif command == "zip":
        write_zip(rest[0], rest[1], rest[2:])
    elif command == "msi":
        build_msi(*rest)
    elif command == "manifests":
        manifests(*rest)
    elif command == "sums":
        sums(*rest)
    elif command == "check":
        check(*rest)
    else:
        fail("unknown command " + command)


if __name__ == "__main__":
    main(sys.argv[1:])
