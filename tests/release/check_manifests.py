#!/usr/bin/env python3
"""Checks a release's package manifests against the files they describe:

- the winget multi-file manifests (schema 1.12.0: version, defaultLocale,
  installer) for their required fields, the types, formats and lengths of the
  fields they use, and agreement between the three files;
- the Scoop manifest for the fields Scoop's Extras bucket expects, and no
  persist;
- in both, each hash against the archive, each program named inside the
  archive against its architecture (the PE machine type of the exe).

    check_manifests.py DIST     (the release folder: exits 1 with the faults)
"""
import datetime
import hashlib
import io
import json
import os
import re
import struct
import sys
import zipfile

import yaml

SCHEMA = "1.12.0"
ID = r"^[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}){1,7}$"
VERSION = r"^[^\\/:*?\"<>|\x01-\x1f]+$"
LOCALE = r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$"
URL = r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$"
SHA256 = r"^[A-Fa-f0-9]{64}$"
MACHINES = {0x8664: ("x64", "64bit"), 0x014C: ("x86", "32bit")}

# Field: (required, type, pattern or allowed values, shortest, longest).
COMMON = {
    "PackageIdentifier": (True, str, ID, 1, 128),
    "PackageVersion": (True, str, VERSION, 1, 128),
    "ManifestVersion": (True, str, {SCHEMA}, 5, 20),
}
FIELDS = {
    "version": {**COMMON, "DefaultLocale": (True, str, LOCALE, 2, 20), "ManifestType": (True, str, {"version"}, 0, 99)},
    "defaultLocale": {
        **COMMON,
        "ManifestType": (True, str, {"defaultLocale"}, 0, 99),
        "PackageLocale": (True, str, LOCALE, 2, 20),
        "Publisher": (True, str, None, 2, 256),
        "PackageName": (True, str, None, 2, 256),
        "License": (True, str, None, 3, 512),
        "ShortDescription": (True, str, None, 3, 256),
        "Description": (False, str, None, 3, 10000),
        "Copyright": (False, str, None, 3, 512),
        "Moniker": (False, str, None, 1, 40),
        "Tags": (False, list, "words", 0, 16),
        "ReleaseNotes": (False, str, None, 1, 10000),
        **{k: (False, str, URL, 1, 2048) for k in ("PublisherUrl", "PackageUrl", "LicenseUrl", "ReleaseNotesUrl")},
    },
    "installer": {
        **COMMON,
        "ManifestType": (True, str, {"installer"}, 0, 99),
        "InstallerType": (False, str, {"msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa", "portable", "font"}, 0, 99),
        "NestedInstallerType": (False, str, {"msix", "msi", "appx", "exe", "inno", "nullsoft", "wix", "burn", "portable", "font"}, 0, 99),
        "NestedInstallerFiles": (False, list, None, 0, 1024),
        "Commands": (False, list, "words", 0, 16),
        "ReleaseDate": (False, str, "date", 10, 10),
        "Installers": (True, list, None, 1, 1024),
    },
}
INSTALLER = {
    "Architecture": (True, str, {"x86", "x64", "arm", "arm64", "neutral"}, 0, 99),
    "InstallerUrl": (True, str, URL, 1, 2048),
    "InstallerSha256": (True, str, SHA256, 64, 64),
    "NestedInstallerFiles": (False, list, None, 0, 1024),
}
NESTED = {"RelativeFilePath": (True, str, None, 1, 512), "PortableCommandAlias": (False, str, None, 1, 40)}


class Checker:
    def __init__(self, dist):
        self.dist = dist
        self.faults = []

    def fault(self, where, text):
        self.faults.append(f"{where}: {text}")

    def fields(self, where, data, rules, extra_ok=False):
        if not isinstance(data, dict):
            return self.fault(where, "is not a mapping")
        for name in data:
            if name not in rules and not extra_ok:
                self.fault(where, f"{name} is not a field this release uses")
        for name, (required, kind, rule, low, high) in rules.items():
            if name not in data:
                if required:
                    self.fault(where, f"{name} is required")
                continue
            value = data[name]
            if not isinstance(value, kind) or isinstance(value, bool):
                self.fault(where, f"{name} must be a {kind.__name__}, is {type(value).__name__}")
            elif not low <= len(value) <= high:
                self.fault(where, f"{name} must have {low} to {high} characters or items, has {len(value)}")
            elif isinstance(rule, set) and value not in rule:
                self.fault(where, f"{name} is {value!r}, not one of {sorted(rule)}")
            elif rule == "words":
                if not all(isinstance(w, str) and 1 <= len(w) <= 40 for w in value) or len(set(value)) != len(value):
                    self.fault(where, f"{name} must hold different words of 1 to 40 characters")
            elif rule == "date":
                try:
                    datetime.date.fromisoformat(value)
                except ValueError:
                    self.fault(where, f"{name} is not a date: {value!r}")
            elif isinstance(rule, str) and not re.match(rule, value):
                self.fault(where, f"{name} has the wrong form: {value!r}")

    def archive(self, where, url, sha256):
        """The archive a URL names, once its hash is right."""
        path = os.path.join(self.dist, url.rsplit("/", 1)[-1])
        if not os.path.isfile(path):
            return self.fault(where, f"no {os.path.basename(path)} beside the manifests")
        with open(path, "rb") as f:
            data = f.read()
        if hashlib.sha256(data).hexdigest() != sha256.lower():
            return self.fault(where, f"the hash is not {os.path.basename(path)}'s")
        return zipfile.ZipFile(io.BytesIO(data))

    def program(self, where, archive, name, arch):
        if archive is None:
            return
        if name not in archive.namelist():
            return self.fault(where, f"{name} is not in the archive")
        exe = archive.read(name)
        offset = struct.unpack_from("<I", exe, 0x3C)[0] if exe[:2] == b"MZ" else 0
        if exe[offset:offset + 4] != b"PE\0\0":
            return self.fault(where, f"{name} is not a Windows program")
        machine = struct.unpack_from("<H", exe, offset + 4)[0]
        if arch not in MACHINES.get(machine, ()):
            self.fault(where, f"{name} is for machine 0x{machine:04x}, not {arch}")

    def winget(self):
        folder = os.path.join(self.dist, "winget")
        files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        docs = {}
        for name in files:
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                doc = yaml.safe_load(f)
            kind = doc.get("ManifestType") if isinstance(doc, dict) else None
            if kind not in FIELDS or kind in docs:
                self.fault(name, f"ManifestType {kind!r} is not one of the three, or is there twice")
                continue
            docs[kind] = (name, doc)
            self.fields(name, doc, FIELDS[kind])
        if set(docs) != set(FIELDS):
            return self.fault("winget", f"needs version, defaultLocale and installer manifests, has {sorted(docs)}")
        ident = docs["version"][1].get("PackageIdentifier")
        locale = docs["version"][1].get("DefaultLocale")
        expected = {"version": f"{ident}.yaml", "defaultLocale": f"{ident}.locale.{locale}.yaml", "installer": f"{ident}.installer.yaml"}
        for kind, (name, doc) in docs.items():
            if name != expected[kind]:
                self.fault(name, f"should be named {expected[kind]}")
            for key in ("PackageIdentifier", "PackageVersion"):
                if doc.get(key) != docs["version"][1].get(key):
                    self.fault(name, f"{key} differs from the version manifest's")
        if docs["defaultLocale"][1].get("PackageLocale") != locale:
            self.fault(docs["defaultLocale"][0], "PackageLocale is not the DefaultLocale")
        self.winget_installers(*docs["installer"])
        return docs["version"][1].get("PackageVersion")

    def winget_installers(self, name, doc):
        root_nested = doc.get("NestedInstallerFiles")
        for i, installer in enumerate(doc.get("Installers") or []):
            where = f"{name} Installers[{i}]"
            self.fields(where, installer, INSTALLER, extra_ok=True)
            kind = installer.get("InstallerType", doc.get("InstallerType"))
            nested_kind = installer.get("NestedInstallerType", doc.get("NestedInstallerType"))
            nested = installer.get("NestedInstallerFiles", root_nested) or []
            if kind != "zip" or nested_kind != "portable" or not nested:
                self.fault(where, "must be a zip with a portable nested installer and its files")
            archive = self.archive(where, installer.get("InstallerUrl", ""), installer.get("InstallerSha256", ""))
            for j, entry in enumerate(nested):
                self.fields(f"{where} NestedInstallerFiles[{j}]", entry, NESTED)
                if isinstance(entry, dict) and entry.get("PortableCommandAlias") != "vantrel":
                    self.fault(where, "the command alias must be vantrel")
                if isinstance(entry, dict):
                    self.program(where, archive, entry.get("RelativeFilePath"), installer.get("Architecture"))

    def scoop(self):
        name = "scoop/vantrel.json"
        if not os.path.isfile(os.path.join(self.dist, name)):
            return self.fault(name, "is missing")
        with open(os.path.join(self.dist, name), encoding="utf-8") as f:
            doc = json.load(f)
        rules = {
            "version": (True, str, r"^[\w.\-+]+$", 1, 128),
            "description": (True, str, None, 3, 1000),
            "homepage": (True, str, URL, 1, 2048),
            "license": (True, str, r"^[\w.\-+ |,]+$", 1, 512),
            "architecture": (True, dict, None, 2, 2),
            "bin": (True, str, None, 1, 260),
            "shortcuts": (True, list, None, 1, 16),
            "checkver": (True, dict, None, 1, 4),
            "autoupdate": (True, dict, None, 1, 4),
        }
        if isinstance(doc, dict) and "persist" in doc:
            self.fault(name, "persist is not wanted: the settings live in %APPDATA%, not in the app's folder")
            del doc["persist"]
        self.fields(name, doc, rules)
        for arch in ("64bit", "32bit"):
            part = (doc.get("architecture") or {}).get(arch)
            where = f"{name} architecture.{arch}"
            arch_rules = {"url": (True, str, URL, 1, 2048), "hash": (True, str, SHA256, 64, 64),
                          "bin": (False, list, None, 1, 16), "shortcuts": (False, list, None, 1, 16)}
            self.fields(where, part, arch_rules)
            if not isinstance(part, dict):
                continue
            archive = self.archive(where, part.get("url", ""), part.get("hash", ""))
            bins = part.get("bin", doc.get("bin"))
            shortcuts = part.get("shortcuts", doc.get("shortcuts")) or []
            programs = [bins] if isinstance(bins, str) else [b[0] if isinstance(b, list) else b for b in bins or []]
            for shortcut in shortcuts:
                if not (isinstance(shortcut, list) and 2 <= len(shortcut) <= 4 and all(isinstance(s, str) for s in shortcut)):
                    self.fault(where, f"a shortcut is [program, name], not {shortcut!r}")
                else:
                    programs.append(shortcut[0])
            for program in programs:
                self.program(where, archive, program, arch)
        checkver = doc.get("checkver") or {}
        if not (isinstance(checkver, dict) and (("url" in checkver and "regex" in checkver) or "github" in checkver)):
            self.fault(name, "checkver needs url and regex (or github)")
        update = doc.get("autoupdate") or {}
        urls = [((update.get("architecture") or {}).get(a) or {}).get("url", "") for a in ("64bit", "32bit")]
        if not all("$version" in u and re.match(URL, u) for u in urls):
            self.fault(name, "autoupdate needs a url with $version for 64bit and 32bit")
        return doc.get("version")


def main(dist):
    checker = Checker(dist)
    versions = {checker.winget(), checker.scoop()}
    if len(versions) != 1:
        checker.fault("manifests", f"the winget and Scoop versions differ: {sorted(map(str, versions))}")
    for fault in checker.faults:
        print(f"check_manifests: {fault}")
    if not checker.faults:
        print(f"check_manifests: winget (schema {SCHEMA}) and Scoop manifests of {versions.pop()} agree with the files")
    return 1 if checker.faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
