#!/usr/bin/env python3
"""The release's files, made so that the same inputs give the same bytes, and their checks.

Called by scripts/package.sh and scripts/release-tests.sh:
  dist.py readme SOURCE OUT VERSION         the read-me in code page 1252 with CR LF line ends
  dist.py buildinfo OUT VERSION COMMIT EPOCH [SIGNER FINGERPRINT]
                                            BUILDINFO.txt: the commit, the tools' Debian versions and
                                            the signer's certificate
  dist.py zip OUT EPOCH FILE...             a zip of the files, in this order, all with the time EPOCH
  dist.py msi OUT ARCH VERSION EPOCH FOLDER ICON COMMIT
                                            the installer (x86 or x64) of the files in FOLDER
  dist.py manifests DIST VERSION_H BASEURL COMMIT
                                            the winget and Scoop manifests for the files in DIST
  dist.py sums DIST                         SHA256SUMS over every other file in DIST
  dist.py check DIST                        the sums, the manifests and the zips agree, and the
                                            manifests are valid by their schemas
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

# jsonschema and yaml are imported where the manifests need them: loading them takes longer than
# most commands run, and a release is made with a dozen of them.

# The upgrade code of both architectures (as in Sandrivo.wxs), and that of 1.1.1.0's x64 package, before both architectures shared one: replaced too.
UPGRADE_CODE = "{C61171E3-BD10-4B9E-96CB-99D78AE412B3}"
FORMER_X64_UPGRADE_CODE = "{DCB26F12-5779-4094-8B61-71449E0B983E}"
# Short names for the names that are not 8.3 ones, as old tools and the File table want them.
SHORT_NAMES = {"sandrivo-report.exe": "SNDRPT.EXE", "Quelix Disk-Info": "QDINFO",
               "THIRD-PARTY-NOTICES.txt": "NOTICES.TXT"}
# The components that hold Sandrivo.exe in the x86 and the x64 installer (as in Sandrivo.wxs).
PROGRAM_COMPONENTS = {"X86": "{4ADCE787-45BE-439C-BAAB-232492F9CBCC}", "X64": "{095590D4-5917-41FC-B6F0-22BDD886EDEE}"}
# As Sandrivo.wxs's DowngradeErrorMessage.
DOWNGRADE_MESSAGE = "Eine neuere Version von Quelix Disk-Info ist bereits installiert."
# The programs' language in the version resource and the summary (German).
LANGUAGE = "1031"

# Product and package codes are name-based UUIDs in this namespace: the same version and files
# give the same codes.
CODE_NAMESPACE = uuid.UUID("6B1E3F0A-93C4-4D2B-8E57-0C2A9F61D4E8")
WINGET_ID = "Quelix.DiskInfo"
WINGET_LOCALE = "de-DE"
# The newest manifest version that the released winget client reads; its schemas, and Scoop's, are
# in third_party/schemas.
MANIFEST_VERSION = "1.28.0"
SCHEMAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "third_party", "schemas")
LICENSE = "Proprietary"
# The zips' architectures as winget and Scoop name them.
ARCHITECTURES = [("win32", "x86", "32bit"), ("win64", "x64", "64bit")]
PROGRAMS = ["Sandrivo.exe", "sandrivo-report.exe"]
README = "LIESMICH.txt"
CHANGELOG = "CHANGELOG.txt"
NOTICES = "THIRD-PARTY-NOTICES.txt"
# Beside the release's files, in no zip or installer and not in SHA256SUMS: it tells of the machine
# that made the files (another openssl revision changes it), not of what the files are.
BUILDINFO = "BUILDINFO.txt"
# What each zip holds, in this order.
ZIP_FILES = [README, CHANGELOG, NOTICES] + PROGRAMS
SUMS = "SHA256SUMS"
# The detached signature of SHA256SUMS (CMS, DER): not listed in it.
SUMS_SIGNATURE = "SHA256SUMS.p7s"
UNLISTED = (SUMS, SUMS_SIGNATURE, BUILDINFO)
# The Debian packages whose versions the release's bytes depend on.
TOOL_PACKAGES = [
    "g++-mingw-w64-i686-posix", "g++-mingw-w64-x86-64-posix", "binutils-mingw-w64-i686",
    "binutils-mingw-w64-x86-64", "mingw-w64-i686-dev", "mingw-w64-x86-64-dev", "g++", "cmake",
    "ninja-build", "zlib1g", "wixl", "msitools", "osslsigncode", "openssl", "python3", "python3-yaml",
]


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fail(message):
    print("dist.py: " + message, file=sys.stderr)
    sys.exit(1)


def readme(source, out, version):
    with open(source, encoding="utf-8") as f:
        text_file(f.read().replace("@VERSION@", version), out)


def text_file(text, out):
    """Writes text in code page 1252 with CR LF line ends, as the zips' texts are."""
    with open(out, "wb") as f:
        f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252"))


def changelog_section(path, version):
    """The changelog's section of the version (its heading "## VERSION ..." up to the next one)."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"^## %s\b.*?(?=^## |\Z)" % re.escape(version), text, re.M | re.S)
    return m.group(0).strip() if m else None


def buildinfo(out, version, commit, epoch, signer=None, fingerprint=None):
    moment = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc)
    listed = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Version} ${db:Status-Status}\n"] + TOOL_PACKAGES,
                            capture_output=True, text=True).stdout.split("\n")
    versions = {line.split()[0]: line.split()[1] for line in listed if line.endswith(" installed")}
    with open("/etc/debian_version") as f:
        debian = f.read().strip()
    lines = ["Quelix Disk-Info %s" % version, "Commit: %s" % commit,
             "Commit time: %s (SOURCE_DATE_EPOCH=%s)" % (moment.strftime("%Y-%m-%d %H:%M:%S UTC"), epoch),
             "", "Built on Debian %s by scripts/release.sh with these packages:" % debian]
    lines += ["  %s %s" % (name, versions.get(name, "(not installed)")) for name in TOOL_PACKAGES]
    if signer:
        # The osslsigncode that ran, which may be another than the package's (one first on PATH).
        tool = subprocess.run(["osslsigncode", "--version"], capture_output=True, text=True).stdout.split("\n")[0]
        lines += ["", "Signed by: %s" % signer, "Signer's certificate, SHA-256: %s" % fingerprint,
                  "Signatures made or attached with: %s" % tool.split(",")[0]]
    else:
        lines += ["", "Not signed."]
    text_file("\n".join(lines) + "\n", out)


def file_version(path):
    """The fixed file version of an executable's version resource, as four dotted numbers."""
    with open(path, "rb") as f:
        data = f.read()
    key = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    at = data.find(struct.pack("<I", 0xFEEF04BD), key)
    if key < 0 or at < 0:
        fail("%s has no version resource" % path)
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def next_version(version):
    """The version right after the given one, four 16-bit fields counted as one number."""
    number = 0
    for field in version.split("."):
        number = number * 65536 + int(field)
    number += 1
    return ".".join(str(number >> shift & 0xFFFF) for shift in (48, 32, 16, 0))


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


def codes(version, arch, files, commit):
    """The product and package codes: both from the version, the architecture, the commit and the
    files. A package of other files is another product, so that it replaces an installed build of
    the same version (a major upgrade) where Windows Installer would refuse a second package of
    one product code."""
    digest = hashlib.sha256(commit.encode() + b"\0")
    for path in files:
        digest.update(os.path.basename(path).encode() + b"\0")
        with open(path, "rb") as f:
            digest.update(f.read())
    product = uuid.uuid5(CODE_NAMESPACE, "product %s %s %s" % (version, arch, digest.hexdigest()))
    package = uuid.uuid5(CODE_NAMESPACE, "package %s %s %s" % (version, arch, digest.hexdigest()))
    return str(product).upper(), str(package).upper()


def msi_property(path, name):
    rows = subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True, text=True, check=True).stdout
    return dict(line.split("\t", 1) for line in rows.splitlines()[3:] if "\t" in line)[name].strip()


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
    which the installer builder takes from chance and the clock, and the template's language,
    which it leaves at 1033."""
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
        elif pid == 7 and kind == 30:  # the template: platform;language
            length = struct.unpack_from("<I", stream, at + 4)[0]
            text = bytes(stream[at + 8 : at + 8 + length]).replace(b";1033\0", (";%s\0" % LANGUAGE).encode())
            if len(text) != length:
                fail("the template has an unexpected form")
            stream[at + 8 : at + 8 + length] = text
            done.add(pid)
        elif pid in (12, 13) and kind == 64:  # created and last saved, FILETIMEs
            struct.pack_into("<Q", stream, at + 4, filetime)
            done.add(pid)
    if done != {7, 9, 12, 13}:
        fail("the summary lacks a template, a revision number or a time")
    for o, b in zip(offsets, stream):
        data[o] = b
    with open(path, "wb") as f:
        f.write(data)


def msi_tables(path, version):
    """What wixl cannot write: short names, the programs' versions and language, the install folder
    in the list of installed programs, upgrades of the same three-field version (Windows Installer
    compares only the first three fields, so 1.1.1.1 must replace 1.1.1.0 as well), and so the
    refusal of a version lower in the fourth field alone, which that upgrade row would take for an
    older one and remove."""
    queries = ["UPDATE `File` SET `Version` = '%s', `Language` = '%s' WHERE `File` = '%s'" % (version, LANGUAGE, key)
               for key in ("SandrivoExe", "ReportExe")]
    queries += [
        "UPDATE `File` SET `FileName` = '%s|sandrivo-report.exe' WHERE `File` = 'ReportExe'"
        % SHORT_NAMES["sandrivo-report.exe"],
        "UPDATE `File` SET `FileName` = '%s|%s' WHERE `File` = 'NoticesTxt'" % (SHORT_NAMES[NOTICES], NOTICES),
        "UPDATE `Directory` SET `DefaultDir` = '%s|Quelix Disk-Info' WHERE `Directory` = 'INSTALLDIR'"
        % SHORT_NAMES["Quelix Disk-Info"],
        "UPDATE `Shortcut` SET `Name` = '%s|Quelix Disk-Info' WHERE `Shortcut` = 'StartMenuShortcut'"
        % SHORT_NAMES["Quelix Disk-Info"],
        # The attributes are part of the key: the row is written anew. 0x200: the upper bound is
        # inclusive; 1: the features migrate, as before.
        "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'",
    ]
    queries += [
        "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) "
        "VALUES ('%s', '%s', 513, 'WIX_UPGRADE_DETECTED')" % (code, version)
        for code in (UPGRADE_CODE, FORMER_X64_UPGRADE_CODE)
    ]
    queries += [
        # A type 51 action: sets the property once the folder is known.
        "INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) "
        "VALUES ('SetARPINSTALLLOCATION', 51, 'ARPINSTALLLOCATION', '[INSTALLDIR]')",
        "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetARPINSTALLLOCATION', 1001)",
    ]
    # A newer installed version shows in its program's file version, all four fields of which the
    # AppSearch action compares: a search for Sandrivo.exe of this version's successor or later
    # where either architecture's installation keeps it, and a launch condition that stops this
    # package when one is found (not when this product itself is installed: its repair and removal).
    queries += ["CREATE TABLE `CompLocator` (`Signature_` CHAR(72) NOT NULL, `ComponentId` CHAR(38) NOT NULL, "
                "`Type` SHORT PRIMARY KEY `Signature_`)"]
    for arch, component in PROGRAM_COMPONENTS.items():
        queries += [
            "INSERT INTO `Signature` (`Signature`, `FileName`, `MinVersion`, `Languages`) "
            "VALUES ('NewerProgram%s', 'Sandrivo.exe', '%s', '%s')" % (arch, next_version(version), LANGUAGE),
            "INSERT INTO `CompLocator` (`Signature_`, `ComponentId`, `Type`) VALUES ('NewerProgram%s', '%s', 1)"
            % (arch, component),
            "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('NEWERPROGRAM%s', 'NewerProgram%s')" % (arch, arch),
        ]
    found = " OR ".join("NEWERPROGRAM" + arch for arch in PROGRAM_COMPONENTS)
    queries += [
        "INSERT INTO `LaunchCondition` (`Condition`, `Description`) VALUES ('Installed OR NOT (%s)', '%s')"
        % (found, DOWNGRADE_MESSAGE),
        "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)",
        "INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)",
        "UPDATE `Property` SET `Value` = '%s;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'"
        % ";".join("NEWERPROGRAM" + arch for arch in PROGRAM_COMPONENTS),
    ]
    command = ["msibuild", path]
    for query in queries:
        command += ["-q", query]
    subprocess.run(command, env=dict(os.environ, TZ="UTC"), check=True)


def build_msi(out, arch, version, epoch, folder, icon, commit):
    """Builds the installer from resources/installer/Sandrivo.wxs with wixl, completes its tables,
    then gives it the package code and time that make it the same for the same files."""
    wxs = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "installer", "Sandrivo.wxs")
    files = [os.path.join(folder, name) for name in [README, NOTICES] + PROGRAMS]
    # The downgrade check reads the installed program's version: it must be the package's.
    for name in PROGRAMS:
        found = file_version(os.path.join(folder, name))
        if found != version:
            fail("%s is version %s, not the installer's %s" % (name, found, version))
    product_code, package_code = codes(version, arch, [wxs, icon] + files, commit)
    # wixl finds the files by paths relative to where it runs; the cabinet holds local times.
    where = os.path.dirname(os.path.abspath(folder))
    subprocess.run(
        ["wixl", "-a", arch, "-D", "Arch=" + arch, "-D", "Version=" + version,
         "-D", "Commit=" + commit, "-D", "ProductCode=" + product_code, "-D", "PackageCode=" + package_code,
         "-D", "SourceDir=" + os.path.basename(folder), "-D", "IconFile=" + os.path.relpath(icon, where),
         "-o", os.path.abspath(out), os.path.abspath(wxs)],
        cwd=where, env=dict(os.environ, TZ="UTC"), check=True)
    msi_tables(os.path.abspath(out), version)
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


def msi_name(version, arch):
    return "Sandrivo-%s-%s.msi" % (version, arch)


def winget_file(kind):
    return {"version": WINGET_ID + ".yaml", "installer": WINGET_ID + ".installer.yaml",
            "defaultLocale": "%s.locale.%s.yaml" % (WINGET_ID, WINGET_LOCALE)}[kind]


def winget_schema_url(kind):
    return "https://aka.ms/winget-manifest.%s.%s.schema.json" % (kind.lower(), MANIFEST_VERSION)


def manifests(dist, header, base_url, commit):
    import yaml

    texts = version_header(header)
    version = texts["VERSION_TEXT"]
    epoch = int(open(os.path.join(os.path.dirname(header), "source-date-epoch")).read())
    date = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc).strftime("%Y-%m-%d")
    homepage = "http://www.quelix.de/"
    base_url = base_url.rstrip("/") + "/"
    changes = changelog_section(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "CHANGELOG.md"), version)
    if not changes:
        fail("CHANGELOG.md has no section for %s" % version)

    def dump(kind, document):
        os.makedirs(os.path.join(dist, "winget"), exist_ok=True)
        with open(os.path.join(dist, "winget", winget_file(kind)), "w", encoding="utf-8") as f:
            f.write("# yaml-language-server: $schema=%s\n" % winget_schema_url(kind))
            yaml.safe_dump({**common, **document, "ManifestType": kind, "ManifestVersion": MANIFEST_VERSION}, f,
                           sort_keys=False, allow_unicode=True, width=200)

    common = {"PackageIdentifier": WINGET_ID, "PackageVersion": version}
    zips = [
        {
            "Architecture": winget, "InstallerType": "zip", "NestedInstallerType": "portable",
            "NestedInstallerFiles": [
                {"RelativeFilePath": "Sandrivo.exe", "PortableCommandAlias": "sandrivo"},
                {"RelativeFilePath": "sandrivo-report.exe", "PortableCommandAlias": "sandrivo-report"}],
            "InstallerUrl": base_url + zip_name(version, arch),
            "InstallerSha256": sha256(os.path.join(dist, zip_name(version, arch))).upper(),
        }
        for arch, winget, _ in ARCHITECTURES
    ]
    # The installers: per machine, the product codes they register, one upgrade code for both.
    msis = [
        {
            "Architecture": winget, "InstallerType": "msi", "Scope": "machine",
            "InstallerUrl": base_url + msi_name(version, winget),
            "InstallerSha256": sha256(os.path.join(dist, msi_name(version, winget))).upper(),
            "ProductCode": msi_property(os.path.join(dist, msi_name(version, winget)), "ProductCode"),
            "UpgradeBehavior": "install",
            "AppsAndFeaturesEntries": [{
                "DisplayName": texts["PRODUCT_NAME"], "Publisher": texts["COMPANY_NAME"], "DisplayVersion": version,
                "ProductCode": msi_property(os.path.join(dist, msi_name(version, winget)), "ProductCode"),
                "UpgradeCode": UPGRADE_CODE}],
        }
        for _, winget, _ in ARCHITECTURES
    ]
    dump("version", {"DefaultLocale": WINGET_LOCALE})
    dump("installer", {"ReleaseDate": date, "Installers": zips + msis})
    dump("defaultLocale", {
        "PackageLocale": WINGET_LOCALE, "Publisher": texts["COMPANY_NAME"],
        "PublisherUrl": homepage, "PackageName": texts["PRODUCT_NAME"], "PackageUrl": homepage,
        "License": LICENSE, "Copyright": texts["COPYRIGHT"], "ShortDescription": texts["COMMENTS"],
        "Moniker": "sandrivo", "Tags": ["laufwerk", "festplatte", "speicherplatz"],
        "ReleaseNotes": "%s\n\nCommit %s" % (changes, commit)})
    # Scoop finds a newer version in the folder above the version's own and takes its hashes from
    # that version's SHA256SUMS.
    releases_url = re.sub(r"%s/$" % re.escape(version), "", base_url)
    scoop = {
        "version": version,
        "description": "%s: %s" % (texts["PRODUCT_NAME"], texts["COMMENTS"]),
        "homepage": homepage,
        "license": LICENSE,
        "notes": "Commit %s" % commit,
        "architecture": {
            scoop_arch: {
                "url": base_url + zip_name(version, arch),
                "hash": sha256(os.path.join(dist, zip_name(version, arch))),
            }
            for arch, _, scoop_arch in ARCHITECTURES
        },
        "bin": "sandrivo-report.exe",
        "shortcuts": [["Sandrivo.exe", texts["PRODUCT_NAME"]]],
        "checkver": {"url": releases_url, "regex": r"Sandrivo-([\d.]+)-win64\.zip"},
        "autoupdate": {
            "architecture": {
                scoop_arch: {"url": releases_url + "$version/" + zip_name("$version", arch)}
                for arch, _, scoop_arch in ARCHITECTURES
            },
            "hash": {"url": "$baseurl/" + SUMS},
        },
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
    return sorted(f for f in files if f not in UNLISTED)


def sums(dist):
    with open(os.path.join(dist, SUMS), "w", encoding="ascii", newline="\n") as f:
        for name in dist_files(dist):
            f.write("%s  %s\n" % (sha256(os.path.join(dist, name)), name))


def schema_errors(document, schema_file, what):
    import jsonschema

    with open(os.path.join(SCHEMAS, schema_file), encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    return ["%s: %s at %s" % (what, e.message, "/".join(map(str, e.absolute_path)))
            for e in validator.iter_errors(document)]


def check(dist):
    import yaml

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

    documents = {}
    for kind in ("version", "installer", "defaultLocale"):
        with open(os.path.join(dist, "winget", winget_file(kind)), encoding="utf-8") as f:
            text = f.read()
        if not text.startswith("# yaml-language-server: $schema=%s\n" % winget_schema_url(kind)):
            errors.append("winget %s manifest: no schema header of manifest version %s" % (kind, MANIFEST_VERSION))
        documents[kind] = yaml.safe_load(text)
        errors += schema_errors(documents[kind], "winget-manifest.%s.%s.json" % (kind, MANIFEST_VERSION),
                                "winget %s manifest" % kind)
    installer, locale = documents["installer"], documents["defaultLocale"]
    with open(os.path.join(dist, "scoop", "sandrivo.json"), encoding="utf-8") as f:
        scoop = json.load(f)
    errors += schema_errors(scoop, "scoop.schema.json", "Scoop manifest")
    number = scoop["version"]
    for kind, document in documents.items():
        if (document.get("PackageIdentifier"), document.get("PackageVersion")) != (WINGET_ID, number):
            errors.append("winget %s manifest: identifier or version is not %s %s" % (kind, WINGET_ID, number))
    commit = scoop.get("notes", "").replace("Commit ", "")
    if not commit or not locale.get("ReleaseNotes", "").endswith("Commit " + commit):
        errors.append("the manifests do not name one commit")
    by_winget = {(e.get("Architecture"), e.get("InstallerType")): e for e in installer.get("Installers", [])}
    for arch, winget, scoop_arch in ARCHITECTURES:
        name = zip_name(number, arch)
        path = os.path.join(dist, name)
        if not os.path.exists(path):
            errors.append("%s missing" % name)
            continue
        digest = sha256(path)
        entry = by_winget.get((winget, "zip"), {})
        if entry.get("InstallerSha256", "").lower() != digest or not entry.get("InstallerUrl", "").endswith("/" + name):
            errors.append("winget installer manifest: %s zip entry does not name %s with its hash" % (winget, name))
        nested = [e["RelativeFilePath"] for e in entry.get("NestedInstallerFiles", [])]
        msi = msi_name(number, winget)
        entry = by_winget.get((winget, "msi"), {})
        if not os.path.exists(os.path.join(dist, msi)) or entry.get("InstallerSha256", "").lower() != sha256(
                os.path.join(dist, msi)) or not entry.get("InstallerUrl", "").endswith("/" + msi):
            errors.append("winget installer manifest: %s msi entry does not name %s with its hash" % (winget, msi))
        entry = scoop.get("architecture", {}).get(scoop_arch, {})
        if entry.get("hash") != digest or not entry.get("url", "").endswith("/" + name):
            errors.append("Scoop manifest: %s entry does not name %s with its hash" % (scoop_arch, name))
        with zipfile.ZipFile(path) as archive:
            names = archive.namelist()
            if names != ZIP_FILES:
                errors.append("%s holds %s" % (name, names))
                continue
            for text_name in (README, NOTICES):
                text = archive.read(text_name)
                if b"\n" in text.replace(b"\r\n", b"") or not text.decode("cp1252").startswith("Quelix Disk-Info " + number):
                    errors.append("%s: %s is not the version's text with CR LF line ends" % (name, text_name))
            if ("## %s" % number) not in archive.read(CHANGELOG).decode("cp1252"):
                errors.append("%s: %s has no section for %s" % (name, CHANGELOG, number))
        missing = [f for f in nested + [scoop.get("bin")] + [s[0] for s in scoop.get("shortcuts", [])] if f not in names]
        if missing:
            errors.append("%s lacks what the manifests name: %s" % (name, missing))
    buildinfo_path = os.path.join(dist, BUILDINFO)
    if not os.path.exists(buildinfo_path) or ("Commit: %s\r\n" % commit) not in open(buildinfo_path, "rb").read().decode("cp1252"):
        errors.append("%s beside the files does not name the commit %s" % (BUILDINFO, commit))
    for error in errors:
        print("dist check: " + error, file=sys.stderr)
    if errors:
        sys.exit(1)
    print("dist check: %d files, sums and manifests agree, manifests valid" % len(listed))


def main(args):
    command, rest = args[0], args[1:]
    if command == "readme":
        readme(*rest)
    elif command == "buildinfo":
        buildinfo(*rest)
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
