#!/usr/bin/env python3
"""Writes the package-manager manifests of a release folder, beside the
packages they name:

    manifests/Valdomer.Kavrelo.yaml                winget, version file
    manifests/Valdomer.Kavrelo.locale.tr-TR.yaml   winget, default locale
    manifests/Valdomer.Kavrelo.installer.yaml      winget, both installers
    kavrelo.json                                   Scoop, both portable zips

    package_manifests.py OUT --version V --web-host HOST --web-https ON|OFF
                         --web-port N --schemas DIR [--no-installer]
    package_manifests.py --preflight --schemas DIR

OUT holds the packages and the SHA256SUMS that lists them; the hashes are
taken from there and checked against the files. The manifests expect OUT's
files on the maker's web host under /indir/<version>/, SHA256SUMS included
(Scoop's autoupdate reads the next version's hashes from it). --web-port is
the port of the web host's scheme, 0 for the scheme's own, as the program
builds its addresses. With --no-installer only Scoop's manifest is written.

Every manifest is checked against its schema in DIR (winget 1.12.0 and
Scoop's JSON schemas) before anything is written. Prints the files written,
relative to OUT, one a line, sorted. --preflight only checks that the Python
modules and the schemas are there. Exit 2 on any failure.
"""
import argparse
import hashlib
import json
import os
import re
import sys
from pathlib import Path

PACKAGE_ID = "Valdomer.Kavrelo"
# As kavrelo.nsi writes them into the uninstall entry: DisplayName, Publisher,
# the entry's key name, and InstallDir.
PACKAGE_NAME = "Kavrelo"
PUBLISHER = "Valdomer"
PRODUCT_CODE = "Kavrelo"
INSTALL_LOCATION = r"%LOCALAPPDATA%\Programs\Kavrelo"
# A silent installer that cannot close a running ticker ends with this level.
IN_USE_EXIT_CODE = 2
# The program is free to use and closed: no licence text ships with it.
LICENSE = "Freeware"
COPYRIGHT = "© Valdomer"
LOCALE = "tr-TR"
MANIFEST_VERSION = "1.12.0"
SHORT_DESCRIPTION = "Son dakika haberlerini masaüstünde gösteren küçük haber bandı"
DESCRIPTION = ("Bir haber sitesinin son dakika başlıklarını kısa özetleriyle masaüstünde küçük bir "
               "pencerede listeler; beş dakikada bir yenilenir, son haberleri diskte saklar ve "
               "tıklanan haberi tarayıcıda açar.")
TAGS = ["haber", "haber-bandı", "rss", "son-dakika"]
# On the maker's web host: the maker's page and the update manifest as
# ticker/Links.h names them, the version where ticker/ManifestThread.cpp
# reads it; and the folder each release's files are put in.
MAKER_PAGE = "/?linkid=7940"
UPDATE_MANIFEST = "/kavrelo.xml"
VERSION_XPATH = "/data/version"
DOWNLOAD_FOLDER = "/indir/{version}/"
# (winget architecture, Scoop architecture, package-name suffix). The 32-bit
# packages keep the names they have always had.
ARCHES = [("x86", "32bit", ""), ("x64", "64bit", "-x64")]
SCHEMA_FILES = {
    "version": "manifest.version.1.12.0.json",
    "defaultLocale": "manifest.defaultLocale.1.12.0.json",
    "installer": "manifest.installer.1.12.0.json",
    "scoop": "scoop.schema.json",
}
SCOOP_MANIFEST = "kavrelo.json"
MANIFEST_FOLDER = "manifests"
VALID_HOST = re.compile(r"[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?")
SUMS_LINE = re.compile(r"([0-9a-fA-F]{64}) [ *](.+)")


class Failure(Exception):
    pass


def import_modules():
    """(yaml, jsonschema), or Failure naming the Debian package to install."""
    modules = []
    for name, package in (("yaml", "python3-yaml"), ("jsonschema", "python3-jsonschema")):
        try:
            modules.append(__import__(name))
        except ImportError:
            raise Failure(f"{sys.executable} has no module '{name}' (on Debian: apt-get install {package})")
    return modules


def setup_name(version, suffix):
    return f"kavrelo-{version}{suffix}-setup.exe"


def zip_name(version, suffix):
    return f"kavrelo-{version}{suffix}-portable.zip"


def web_origin(host, https, port):
    """The web host's origin as the program's EndpointOrigin writes it: any
    port but 0 is named, even the scheme's own."""
    if not VALID_HOST.fullmatch(host) or len(host) > 253:
        raise Failure(f"'{host}' is not a host name")
    if not 0 <= port <= 65535:
        raise Failure(f"{port} is not a port")
    origin = ("https://" if https else "http://") + host
    return origin if port == 0 else f"{origin}:{port}"


def read_sums(out):
    """{file name: sha256 in lower case} of OUT/SHA256SUMS."""
    path = out / "SHA256SUMS"
    if not path.is_file():
        raise Failure(f"{path} is missing: the packages are listed there first")
    sums = {}
    for number, line in enumerate(path.read_text().splitlines(), 1):
        m = SUMS_LINE.fullmatch(line)
        if not m:
            raise Failure(f"{path}:{number} is not a sha256sum line: {line!r}")
        sums[m.group(2)] = m.group(1).lower()
    return sums


def package_hash(out, sums, name):
    """The sha256 SHA256SUMS gives for a package, checked against the file:
    a manifest must not promise what the download does not hold."""
    if name not in sums:
        raise Failure(f"SHA256SUMS does not list {name}")
    path = out / name
    if not path.is_file():
        raise Failure(f"{path} is missing")
    actual = hashlib.sha256(path.read_bytes()).hexdigest()
    if actual != sums[name]:
        raise Failure(f"SHA256SUMS gives {sums[name]} for {name}, the file's sha256 is {actual}")
    return actual


def winget_manifests(version, origin, hashes):
    """{path: data} of the three winget files. hashes: {file name: sha256}."""
    base = origin + DOWNLOAD_FOLDER.format(version=version)

    def manifest(kind, body):
        return {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version, **body,
                "ManifestType": kind, "ManifestVersion": MANIFEST_VERSION}

    homepage = origin + MAKER_PAGE
    installers = []
    for arch, _, suffix in ARCHES:
        name = setup_name(version, suffix)
        installers.append({"Architecture": arch, "InstallerUrl": base + name,
                           "InstallerSha256": hashes[name].upper()})
    folder = MANIFEST_FOLDER + "/" + PACKAGE_ID
    return {
        f"{folder}.yaml": manifest("version", {"DefaultLocale": LOCALE}),
        f"{folder}.locale.{LOCALE}.yaml": manifest("defaultLocale", {
            "PackageLocale": LOCALE,
            "Publisher": PUBLISHER,
            "PublisherUrl": homepage,
            "PackageName": PACKAGE_NAME,
            "PackageUrl": homepage,
            "License": LICENSE,
            "Copyright": COPYRIGHT,
            "ShortDescription": SHORT_DESCRIPTION,
            "Description": DESCRIPTION,
            "Moniker": "kavrelo",
            "Tags": TAGS,
        }),
        # nullsoft brings NSIS's own switches: /S, and /D=<folder> last on the
        # command line. Both installers share one folder and one entry, so
        # either replaces the other in place.
        f"{folder}.installer.yaml": manifest("installer", {
            "InstallerLocale": LOCALE,
            "InstallerType": "nullsoft",
            "Scope": "user",
            "UpgradeBehavior": "install",
            "ExpectedReturnCodes": [{"InstallerReturnCode": IN_USE_EXIT_CODE, "ReturnResponse": "packageInUse"}],
            "ProductCode": PRODUCT_CODE,
            "InstallationMetadata": {"DefaultInstallLocation": INSTALL_LOCATION},
            "Installers": installers,
        }),
    }


def scoop_manifest(version, origin, hashes):
    base = origin + DOWNLOAD_FOLDER.format(version=version)
    next_base = origin + DOWNLOAD_FOLDER.format(version="$version")
    return {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": origin + MAKER_PAGE,
        "license": LICENSE,
        "architecture": {scoop: {"url": base + zip_name(version, suffix), "hash": hashes[zip_name(version, suffix)]}
                         for _, scoop, suffix in ARCHES},
        "shortcuts": [["kavrelo.exe", PACKAGE_NAME]],
        # Beside portable.txt the program keeps its options and feed in
        # "data"; Scoop moves it from version to version.
        "persist": "data",
        # The version the program's own update check reads.
        "checkver": {"url": origin + UPDATE_MANIFEST, "xpath": VERSION_XPATH},
        "autoupdate": {
            "architecture": {scoop: {"url": next_base + zip_name("$version", suffix)} for _, scoop, suffix in ARCHES},
            # $sha256 and $basename are Scoop's: a hash, then the file's name,
            # as sha256sum writes each line.
            "hash": {"url": "$baseurl/SHA256SUMS", "regex": "$sha256\\s+$basename"},
        },
    }


# --- Writing ---------------------------------------------------------------

YAML_PLAIN = re.compile(r"[^\s\-?:,\[\]{}#&*!|>'\"%@`](?:[^\n]*[^\s:])?")
YAML_SCHEMA_COMMENT = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{version}.schema.json\n"


def yaml_scalar(value, yaml):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    # Plain where YAML reads back the same string; quoted otherwise ("2.0"
    # would be a float, an all-digit hash an integer).
    if YAML_PLAIN.fullmatch(value) and ": " not in value and " #" not in value and yaml.safe_load(value) == value:
        return value
    return "'" + value.replace("'", "''") + "'"


def yaml_lines(value, pad, yaml):
    if isinstance(value, dict):
        for key, item in value.items():
            if isinstance(item, (dict, list)):
                yield f"{pad}{key}:"
                # Sequences sit at their key's indent, as winget writes them.
                yield from yaml_lines(item, pad + "  " if isinstance(item, dict) else pad, yaml)
            else:
                yield f"{pad}{key}: {yaml_scalar(item, yaml)}"
    else:
        for item in value:
            if isinstance(item, dict):
                lines = list(yaml_lines(item, pad + "  ", yaml))
                yield pad + "- " + lines[0][len(pad) + 2:]
                yield from lines[1:]
            else:
                yield f"{pad}- {yaml_scalar(item, yaml)}"


def to_yaml(data, yaml):
    text = YAML_SCHEMA_COMMENT.format(kind=data["ManifestType"], version=data["ManifestVersion"])
    text += "\n".join(yaml_lines(data, "", yaml)) + "\n"
    if yaml.safe_load(text) != data:
        raise Failure(f"the YAML written for {data['ManifestType']} does not read back the same")
    return text


def to_json(data):
    return json.dumps(data, indent=4, ensure_ascii=False) + "\n"


def load_schemas(folder):
    schemas = {}
    for kind, name in SCHEMA_FILES.items():
        path = Path(folder) / name
        try:
            schemas[kind] = json.loads(path.read_text(encoding="utf-8"))
        except (OSError, ValueError) as e:
            raise Failure(f"cannot read the schema {path}: {e}")
    return schemas


def schema_errors(data, schema, jsonschema):
    """Messages of everything the data breaks in the schema. Only "regex" of
    the formats is checked: the others depend on optional modules and would
    make the result differ from machine to machine."""
    validator = jsonschema.validators.validator_for(schema)(
        schema, format_checker=jsonschema.FormatChecker(formats=["regex"]))
    return sorted(f"{'/'.join(map(str, e.absolute_path)) or '(top)'}: {e.message}"
                  for e in validator.iter_errors(data))


def write_atomically(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_name(path.name + ".part")
    tmp.write_bytes(text.encode("utf-8"))
    os.replace(tmp, path)


def generate(out, version, origin, schemas_dir, installers):
    yaml, jsonschema = import_modules()
    schemas = load_schemas(schemas_dir)
    sums = read_sums(out)
    names = [zip_name(version, s) for _, _, s in ARCHES]
    if installers:
        names += [setup_name(version, s) for _, _, s in ARCHES]
    hashes = {name: package_hash(out, sums, name) for name in names}

    documents = {SCOOP_MANIFEST: ("scoop", scoop_manifest(version, origin, hashes))}
    if installers:
        for path, data in winget_manifests(version, origin, hashes).items():
            documents[path] = (data["ManifestType"], data)
    texts, errors = {}, []
    for path, (kind, data) in sorted(documents.items()):
        texts[path] = to_json(data) if kind == "scoop" else to_yaml(data, yaml)
        # What the package manager reads is the text, so the text is checked.
        read_back = json.loads(texts[path]) if kind == "scoop" else yaml.safe_load(texts[path])
        errors += [f"{path}: {e}" for e in schema_errors(read_back, schemas[kind], jsonschema)]
    if errors:
        raise Failure("manifests that do not validate, nothing written:\n  " + "\n  ".join(errors))
    for path, text in texts.items():
        write_atomically(out / path, text)
    return sorted(texts)


def main(argv):
    p = argparse.ArgumentParser(description="Writes the winget and Scoop manifests of a release folder.")
    p.add_argument("out", nargs="?")
    p.add_argument("--version")
    p.add_argument("--web-host")
    p.add_argument("--web-https", choices=["ON", "OFF"])
    p.add_argument("--web-port", type=int)
    p.add_argument("--schemas", required=True)
    p.add_argument("--no-installer", action="store_true")
    p.add_argument("--preflight", action="store_true")
    args = p.parse_args(argv)
    try:
        if args.preflight:
            import_modules()
            load_schemas(args.schemas)
            return 0
        if None in (args.out, args.version, args.web_host, args.web_https, args.web_port):
            p.error("OUT, --version, --web-host, --web-https and --web-port are needed")
        origin = web_origin(args.web_host, args.web_https == "ON", args.web_port)
        written = generate(Path(args.out), args.version, origin, args.schemas, not args.no_installer)
    except Failure as e:
        print(f"package_manifests: {e}", file=sys.stderr)
        return 2
    print("\n".join(written))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
