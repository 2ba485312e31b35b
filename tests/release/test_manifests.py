"""The package manifests release.sh writes beside the packages (winget's
manifests/*.yaml, Scoop's kavrelo.json): against their schemas, each other,
the installer's script, the packages and SHA256SUMS. Then copies of the
release broken on purpose, which the same checks must reject.

    test_manifests.py --release DIR --schemas DIR [--web-origin URL]

DIR/out holds the packages (the release_packages target writes them) and
DIR/build/win32 the build whose Version.h names the version; --web-origin is
the web host the release was made for. Exit 77 (skipped) when the schema
folder is missing.
"""
import argparse
import hashlib
import json
import os
import re
import shutil
import sys
import subprocess
import tempfile
import urllib.parse
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(SOURCE / "tools"))
import package_manifests as generator  # noqa: E402

PE_MACHINE = {"x86": 0x14C, "32bit": 0x14C, "x64": 0x8664, "64bit": 0x8664}
SUFFIX = {"x86": "", "32bit": "", "x64": "-x64", "64bit": "-x64"}
ZIP_ENTRIES = ["BENIOKU.txt", "kavrelo.exe", "portable.txt"]
SCHEMAS = {"version": "manifest.version.1.12.0.json", "defaultLocale": "manifest.defaultLocale.1.12.0.json",
           "installer": "manifest.installer.1.12.0.json", "scoop": "scoop.schema.json"}
SUMS_LINE = re.compile(r"([0-9a-f]{64})  (\S+)")


class Failure(Exception):
    pass


def sha256(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def pe_machine(data):
    pe = int.from_bytes(data[0x3C:0x40], "little") if len(data) > 0x40 else 0
    return int.from_bytes(data[pe + 4:pe + 6], "little") if data[pe:pe + 4] == b"PE\0\0" else None


class Release:
    """The manifests of a release folder as a package manager reads them."""

    def __init__(self, out, version, yaml):
        self.out, self.version = Path(out), version
        self.sums_text = (self.out / "SHA256SUMS").read_text()
        # (file name, data) of each winget file
        self.winget = [(path.name, yaml.safe_load(path.read_text(encoding="utf-8")))
                       for path in sorted((self.out / "manifests").glob("*"))]
        scoop = self.out / "kavrelo.json"
        if not scoop.is_file():
            raise Failure(f"{scoop} is missing: build the release_packages target first")
        self.scoop = json.loads(scoop.read_text(encoding="utf-8"))

    def kinds(self):
        return sorted(str(data.get("ManifestType")) for _, data in self.winget)

    def of_kind(self, kind):
        return next((data for _, data in self.winget if data.get("ManifestType") == kind), {})

    def installers(self):
        return self.of_kind("installer").get("Installers") or []

    def downloads(self):
        """(architecture, url, hash, is an installer) of everything the manifests name."""
        rows = [(i.get("Architecture"), i.get("InstallerUrl", ""), i.get("InstallerSha256", ""), True)
                for i in self.installers()]
        rows += [(arch, a.get("url", ""), a.get("hash", ""), False)
                 for arch, a in sorted(self.scoop.get("architecture", {}).items())]
        return rows

    def expected_name(self, arch, installer):
        kind = "setup.exe" if installer else "portable.zip"
        return f"kavrelo-{self.version}{SUFFIX.get(arch, '?')}-{kind}"


def check_schemas(release, ctx):
    problems = []
    documents = [(name, data.get("ManifestType"), data) for name, data in release.winget]
    for name, kind, data in documents + [("kavrelo.json", "scoop", release.scoop)]:
        if kind not in ctx.schemas:
            problems.append(f"{name}: no schema for ManifestType {kind!r}")
            continue
        validator = ctx.jsonschema.validators.validator_for(ctx.schemas[kind])(
            ctx.schemas[kind], format_checker=ctx.jsonschema.FormatChecker(formats=["regex"]))
        problems += [f"{name}: {list(e.absolute_path)}: {e.message}" for e in validator.iter_errors(data)]
    return problems


def check_agreement(release, ctx):
    """The three winget files name one package and version; Scoop the same version."""
    has_installers = (release.out / release.expected_name("x86", True)).is_file()
    kinds = release.kinds()
    if kinds != (["defaultLocale", "installer", "version"] if has_installers else []):
        return [f"the winget files are of {kinds}: one of each kind with installers, none without"]
    problems = [] if release.scoop.get("version") == release.version else \
        [f"Scoop's version is {release.scoop.get('version')!r}, the release's {release.version!r}"]
    if not has_installers:
        return problems
    ident = release.of_kind("version").get("PackageIdentifier")
    locale = release.of_kind("version").get("DefaultLocale")
    names = {"version": f"{ident}.yaml", "defaultLocale": f"{ident}.locale.{locale}.yaml",
             "installer": f"{ident}.installer.yaml"}
    for name, data in release.winget:
        seen = (data.get("PackageIdentifier"), data.get("PackageVersion"), data.get("ManifestVersion"))
        if seen != (ident, release.version, "1.12.0"):
            problems.append(f"{name} names {seen}, not {(ident, release.version, '1.12.0')}")
        if name != names[data["ManifestType"]]:
            problems.append(f"the {data['ManifestType']} file is {name}, not {names[data['ManifestType']]}")
    if release.of_kind("defaultLocale").get("PackageLocale") != locale:
        problems.append(f"the default locale file is not of the DefaultLocale {locale}")
    return problems


def check_installer_script(release, ctx):
    """What the manifests say of the installation is what kavrelo.nsi does."""
    if "installer" not in release.kinds():
        return []
    nsi = (SOURCE / "resources" / "release" / "kavrelo.nsi").read_text(encoding="utf-8")
    define = dict(re.findall(r'^!define (\w+) "([^"]*)"', nsi, re.M))
    install_dir = re.search(r'^InstallDir "([^"]*)"', nsi, re.M).group(1)
    locale, installer = release.of_kind("defaultLocale"), release.of_kind("installer")
    pairs = [
        ("PackageName", locale.get("PackageName"), define["PRODUCT"]),
        ("Publisher", locale.get("Publisher"), define["PUBLISHER"]),
        ("ProductCode", installer.get("ProductCode"), define["UNINST_KEY"].rsplit("\\", 1)[1]),
        ("InstallerType", installer.get("InstallerType"), "nullsoft"),
        ("Scope", installer.get("Scope"), "user"),  # RequestExecutionLevel user, HKCU
        ("DefaultInstallLocation", (installer.get("InstallationMetadata") or {}).get("DefaultInstallLocation"),
         install_dir.replace("$LOCALAPPDATA", "%LOCALAPPDATA%")),
    ]
    return [f"{what} is {have!r}, the installer's {want!r}" for what, have, want in pairs if have != want]


def check_downloads(release, ctx):
    """Each URL names a package of the release, for its architecture, with
    the file's hash, which SHA256SUMS gives too."""
    problems = []
    sums = {name: digest for digest, name in SUMS_LINE.findall(release.sums_text)}
    folder = f"{ctx.origin}/indir/{release.version}/" if ctx.origin else None
    for arch, url, digest, installer in release.downloads():
        folder = folder or url.rsplit("/", 1)[0] + "/"
        name = url.rsplit("/", 1)[-1]
        path = release.out / name
        if not url.startswith(folder) or "/" in url[len(folder):]:
            problems.append(f"{url} is not in the release's folder {folder}")
        if name != release.expected_name(arch, installer):
            problems.append(f"the {arch} download is {name}, not {release.expected_name(arch, installer)}")
        if not path.is_file():
            problems.append(f"{url} names {name}, which is not in the release")
            continue
        actual = sha256(path)
        if digest.lower() != actual or sums.get(name) != actual:
            problems.append(f"{name}: the manifest says {digest}, SHA256SUMS {sums.get(name)}, the file {actual}")
        if installer and digest != digest.upper():
            problems.append(f"{name}: InstallerSha256 is not in upper case")
        if installer and pe_machine(path.read_bytes()) != PE_MACHINE.get(arch):
            problems.append(f"{name} is not an {arch} program")
    return problems


def check_zips(release, ctx):
    """Each zip holds the program of its architecture and nothing unexpected."""
    problems = []
    for arch, url, _, installer in release.downloads():
        path = release.out / url.rsplit("/", 1)[-1]
        if installer or not path.is_file():
            continue
        with zipfile.ZipFile(path) as archive:
            names = sorted(archive.namelist())
            if names != ZIP_ENTRIES:
                problems.append(f"{path.name} holds {names}, not {ZIP_ENTRIES}")
            if "kavrelo.exe" in names and pe_machine(archive.read("kavrelo.exe")) != PE_MACHINE.get(arch):
                problems.append(f"{path.name}'s kavrelo.exe is not a {arch} program")
    return problems


def check_sums(release, ctx):
    """SHA256SUMS: the packages, then the manifests, each once, each right."""
    lines = release.sums_text.splitlines()
    rows = [SUMS_LINE.fullmatch(line) for line in lines]
    if not all(rows):
        return [f"SHA256SUMS has lines sha256sum does not write: {[l for l, r in zip(lines, rows) if not r]}"]
    names = [r.group(2) for r in rows]
    packages = sorted(p.name for p in release.out.glob("kavrelo-*"))
    manifests = sorted(["kavrelo.json"] + [f"manifests/{name}" for name, _ in release.winget])
    problems = []
    if sorted(names[:len(packages)]) != packages or sorted(names[len(packages):]) != manifests:
        problems.append(f"SHA256SUMS lists {names}: the packages {packages} first, then {manifests}")
    for r in rows:
        path = release.out / r.group(2)
        if not path.is_file() or sha256(path) != r.group(1):
            problems.append(f"SHA256SUMS is wrong for {r.group(2)}")
    return problems


def check_updates(release, ctx):
    """Scoop's autoupdate, done by hand for this version, gives this
    manifest back: the same URLs, and the hashes found in SHA256SUMS the way
    Scoop finds them; checkver reads the version the program's update check
    reads."""
    problems = []
    update = release.scoop.get("autoupdate", {})
    for arch, current in sorted(release.scoop.get("architecture", {}).items()):
        template = update.get("architecture", {}).get(arch, {}).get("url", "")
        url = template.replace("$version", release.version)
        if url != current.get("url") or "$version" not in template:
            problems.append(f"autoupdate's {arch} URL becomes {url}, not {current.get('url')}")
        extraction = update.get("architecture", {}).get(arch, {}).get("hash") or update.get("hash") or {}
        base = current.get("url", "").rsplit("/", 1)[0]
        if extraction.get("url", "").replace("$baseurl", base) != base + "/SHA256SUMS":
            problems.append(f"autoupdate's {arch} hashes do not come from the release's SHA256SUMS")
        regex = extraction.get("regex", "").replace("$sha256", "([a-fA-F0-9]{64})")
        regex = regex.replace("$basename", re.escape(current.get("url", "").rsplit("/", 1)[-1]))
        found = re.search(regex, release.sums_text, re.I) if regex else None
        if not found or found.group(1).lower() != current.get("hash", "").lower():
            problems.append(f"autoupdate finds {found and found.group(1)} for {arch}, not {current.get('hash')}")
    checkver = release.scoop.get("checkver", {})
    if ctx.origin and checkver.get("url") != ctx.origin + "/kavrelo.xml":
        problems.append(f"checkver reads {checkver.get('url')}, not the program's update manifest")
    # What the maker's update manifest looks like to the program: /data/version.
    root = ET.fromstring(f"<data><version>{release.version}</version></data>")
    step_names = checkver.get("xpath", "").strip("/").split("/")
    node = root.find("/".join(step_names[1:])) if step_names[0] == root.tag and len(step_names) > 1 else None
    if node is None or node.text != release.version:
        problems.append(f"checkver's xpath {checkver.get('xpath')!r} does not find the version")
    return problems


CHECKS = [check_schemas, check_agreement, check_installer_script, check_downloads, check_zips, check_sums,
          check_updates]


# --- Copies broken on purpose ---------------------------------------------

def edit_winget(kind, change):
    def edit(out, ctx):
        for path in (out / "manifests").glob("*"):
            data = ctx.yaml.safe_load(path.read_text(encoding="utf-8"))
            if data["ManifestType"] == kind:
                change(data)
                path.write_text(ctx.yaml.safe_dump(data, allow_unicode=True), encoding="utf-8")
    return edit


def edit_scoop(change):
    def edit(out, ctx):
        data = json.loads((out / "kavrelo.json").read_text(encoding="utf-8"))
        change(data)
        (out / "kavrelo.json").write_text(json.dumps(data), encoding="utf-8")
    return edit


def edit_sums(change):
    def edit(out, ctx):
        lines = (out / "SHA256SUMS").read_text().splitlines()
        (out / "SHA256SUMS").write_text("".join(line + "\n" for line in change(lines)))
    return edit


def swap_zip_programs(out, ctx):
    """The 32-bit zip, rewritten with the 64-bit program in it."""
    x86 = out / f"kavrelo-{ctx.version}-portable.zip"
    with zipfile.ZipFile(out / f"kavrelo-{ctx.version}-x64-portable.zip") as archive:
        program = archive.read("kavrelo.exe")
    x86.unlink()
    with zipfile.ZipFile(x86, "w") as archive:
        for name in ZIP_ENTRIES:
            archive.writestr(name, program if name == "kavrelo.exe" else b"")


def other_url(entry, key, name):
    entry[key] = entry[key].rsplit("/", 1)[0] + "/" + name


def swap_architectures(data):
    a, b = data["Installers"]
    a["Architecture"], b["Architecture"] = b["Architecture"], a["Architecture"]


BREAKAGES = [
    # (what, change, the check that must object)
    ("a wrong installer hash",
     edit_winget("installer", lambda d: d["Installers"][1].update(InstallerSha256="A" * 64)), check_downloads),
    ("a wrong zip hash",
     edit_scoop(lambda d: d["architecture"]["32bit"].update(hash="0" * 64)), check_downloads),
    ("an installer URL naming a file not in the release",
     edit_winget("installer", lambda d: other_url(d["Installers"][0], "InstallerUrl", "kavrelo-9.9-setup.exe")),
     check_downloads),
    ("a zip URL naming a file not in the release",
     edit_scoop(lambda d: other_url(d["architecture"]["64bit"], "url", "kavrelo-9.9-x64-portable.zip")),
     check_downloads),
    ("the installers' architectures swapped", edit_winget("installer", swap_architectures), check_downloads),
    ("a zip holding the other architecture's program", swap_zip_programs, check_zips),
    ("a version file of another version", edit_winget("version", lambda d: d.update(PackageVersion="9.9")),
     check_agreement),
    ("Scoop at another version", edit_scoop(lambda d: d.update(version="9.9")), check_agreement),
    ("another uninstall entry", edit_winget("installer", lambda d: d.update(ProductCode="Kavrelo2")),
     check_installer_script),
    ("an installer type winget does not know",
     edit_winget("installer", lambda d: d.update(InstallerType="nsis")), check_schemas),
    ("a Scoop hash that is no sha256",
     edit_scoop(lambda d: d["architecture"]["64bit"].update(hash="123")), check_schemas),
    ("a manifest's line in SHA256SUMS wrong",
     edit_sums(lambda lines: lines[:-1] + ["0" * 64 + lines[-1][64:]]), check_sums),
    ("SHA256SUMS without the manifests' lines", edit_sums(lambda lines: lines[:4]), check_sums),
    ("SHA256SUMS with the manifests first", edit_sums(lambda lines: lines[4:] + lines[:4]), check_sums),
    ("an autoupdate URL that keeps this version",
     edit_scoop(lambda d: d["autoupdate"]["architecture"]["32bit"].update(url=d["architecture"]["32bit"]["url"])),
     check_updates),
    ("an autoupdate regex that takes the first hash of SHA256SUMS",
     edit_scoop(lambda d: d["autoupdate"]["hash"].update(regex="^$sha256")), check_updates),
    ("checkver reading another element", edit_scoop(lambda d: d["checkver"].update(xpath="/data/versiyon")),
     check_updates),
]


def broken_copy(release, change, ctx, tmp):
    """A copy of the release's folder with one thing changed; the packages are
    linked, not copied, unless the change rewrites one."""
    out = Path(tmp) / "out"
    out.mkdir()
    for path in release.out.iterdir():
        if path.is_dir():
            shutil.copytree(path, out / path.name)
        elif path.name.startswith("kavrelo-"):
            os.symlink(path.resolve(), out / path.name)
        else:
            shutil.copy(path, out / path.name)
    change(out, ctx)
    return Release(out, release.version, ctx.yaml)


# --- The generator itself ---------------------------------------------------

def require_bogus(schemas):
    """The schemas, with Scoop's asking for a field no manifest has."""
    scoop = json.loads((schemas / SCHEMAS["scoop"]).read_text(encoding="utf-8"))
    scoop["required"].append("bogus")
    (schemas / SCHEMAS["scoop"]).write_text(json.dumps(scoop), encoding="utf-8")


def drop_installers(out, version):
    for arch in ("x86", "x64"):
        (out / f"kavrelo-{version}{SUFFIX[arch]}-setup.exe").unlink()


GENERATOR_RUNS = [
    # (what, change to the copy, change to the schemas, extra arguments, exit code, files or words of the message)
    ("the release's settings again", None, None, [], 0, "the release's manifests"),
    ("without installers", drop_installers, None, ["--no-installer"], 0, ["kavrelo.json"]),
    ("an installer missing", lambda out, version: (out / f"kavrelo-{version}-setup.exe").unlink(), None, [], 2,
     "is missing"),
    ("a zip whose line in SHA256SUMS is wrong",
     lambda out, _: edit_sums(lambda lines: ["0" * 64 + l[64:] if "x64-portable" in l else l for l in lines])(out, 0),
     None, [], 2, "SHA256SUMS gives 000"),
    ("a manifest that does not validate", None, require_bogus, [], 2, "kavrelo.json: (top): 'bogus' is a required"),
]


def check_generator(release, ctx):
    """The generator on copies of the release: the same bytes from the same
    settings, Scoop's manifest alone without installers, and nothing written
    (exit 2) for a package that does not match or a manifest that does not
    validate."""
    problems = []
    url = urllib.parse.urlsplit(ctx.origin or "http://kavrelo.example")
    settings = ["--web-host", url.hostname, "--web-https", "ON" if url.scheme == "https" else "OFF",
                "--web-port", str(url.port or 0), "--version", release.version]
    written = {p: (release.out / p).read_bytes() for p in ["kavrelo.json"] + [f"manifests/{n}" for n, _ in release.winget]}
    for what, change, schema_change, extra, code, expected in GENERATOR_RUNS:
        with tempfile.TemporaryDirectory() as tmp:
            out = broken_copy(release, lambda out, _: None, ctx, tmp).out
            shutil.rmtree(out / "manifests", ignore_errors=True)
            (out / "kavrelo.json").unlink()
            schemas = shutil.copytree(ctx.schemas_dir, Path(tmp) / "schemas")
            change and change(out, release.version)
            schema_change and schema_change(schemas)
            r = subprocess.run([sys.executable, str(SOURCE / "tools" / "package_manifests.py"), str(out), *settings,
                                "--schemas", str(schemas), *extra], capture_output=True, text=True)
            files = {str(p.relative_to(out)): p.read_bytes() for p in out.rglob("*") if p.is_file()
                     and (p.name == "kavrelo.json" or p.parent.name == "manifests")}
        if r.returncode != code:
            problems.append(f"{what}: exit {r.returncode}, not {code}: {r.stderr.strip()}")
        elif code != 0:
            if files or expected not in r.stderr:
                problems.append(f"{what}: wrote {sorted(files)} or did not say {expected!r}: {r.stderr.strip()}")
        elif sorted(files) != r.stdout.split():
            problems.append(f"{what}: printed {r.stdout.split()}, wrote {sorted(files)}")
        elif isinstance(expected, list):
            if sorted(files) != expected:
                problems.append(f"{what}: wrote {sorted(files)}, not {expected}")
        elif ctx.origin and files != written:
            problems.append(f"{what}: wrote other bytes than the release's manifests")
    return problems


# --- The tools' own rules --------------------------------------------------

def check_tool_rules(ctx):
    problems = []
    origins = [
        # (host, https, port, origin)
        ("kavrelo.com.tr", True, 0, "https://kavrelo.com.tr"),
        ("kavrelo.com.tr", False, 0, "http://kavrelo.com.tr"),
        ("kavrelo.com.tr", True, 8443, "https://kavrelo.com.tr:8443"),
        ("127.0.0.1", False, 18473, "http://127.0.0.1:18473"),
        # The program names any port but 0, its scheme's own too.
        ("kavrelo.com.tr", True, 443, "https://kavrelo.com.tr:443"),
    ]
    for host, https, port, origin in origins:
        if generator.web_origin(host, https, port) != origin:
            problems.append(f"web_origin{(host, https, port)} is {generator.web_origin(host, https, port)}")
    for host, port in (("a b", 0), ("a.com/x", 0), ("", 0), ("a.com", 65536)):
        try:
            generator.web_origin(host, True, port)
            problems.append(f"web_origin accepted {host!r}:{port}")
        except generator.Failure:
            pass
    # Strings YAML would read as something else, or not at all, unquoted.
    for text in ["2.0", "10", "0123", "1e3", "0x1F", "yes", "No", "null", "~", "true", "a: b", "a #b", "#a",
                 "- a", "%LOCALAPPDATA%\\Programs", "it's", "'q'", "\"q\"", "a:", " a", "a ", "@a", "*a",
                 "[a]", "{a}", "!a", "|", ">", "?", "Valdomer.Kavrelo", "© Valdomer", "haber-bandı"]:
        data = {"K": text, "L": [text], "M": [{"N": text, "O": text}]}
        try:
            read = ctx.yaml.safe_load("\n".join(generator.yaml_lines(data, "", ctx.yaml)) + "\n")
        except ctx.yaml.YAMLError as e:
            read = f"an error ({str(e).splitlines()[0]})"
        if read != data:
            problems.append(f"{text!r} is written as YAML that reads back as {read}")
    return problems


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--release", required=True)
    p.add_argument("--schemas", required=True)
    p.add_argument("--web-origin")
    args = p.parse_args()
    if not Path(args.schemas, SCHEMAS["scoop"]).is_file():
        print(f"SKIP: no package-manifest schemas in {args.schemas}")
        return 77
    try:
        ctx = argparse.Namespace(origin=args.web_origin, schemas_dir=Path(args.schemas))
        ctx.yaml, ctx.jsonschema = generator.import_modules()
        ctx.schemas = {k: json.loads(Path(args.schemas, v).read_text(encoding="utf-8")) for k, v in SCHEMAS.items()}
        version_h = Path(args.release, "build", "win32", "generated", "build", "Version.h").read_text()
        ctx.version = re.search(r'#define KAVRELO_VERSION_TEXT "(.*)"', version_h).group(1)
        release = Release(Path(args.release) / "out", ctx.version, ctx.yaml)
    except (generator.Failure, Failure, OSError) as e:
        print(f"FAIL release_manifests: {e}")
        return 1

    failed = 0

    def report(what, problems):
        nonlocal failed
        failed += bool(problems)
        print(("FAIL " if problems else "ok   ") + what + "".join("\n       " + p for p in problems), flush=True)

    report("the tools' origin and YAML rules", check_tool_rules(ctx))
    report("check_generator", check_generator(release, ctx))
    baseline = {}
    for check in CHECKS:
        baseline[check] = check(release, ctx)
        report(check.__name__, baseline[check])
    # Each broken copy must draw an objection the release itself does not.
    for what, change, check in BREAKAGES:
        with tempfile.TemporaryDirectory() as tmp:
            new = [p for p in check(broken_copy(release, change, ctx, tmp), ctx) if p not in baseline[check]]
        report(f"rejected: {what} ({check.__name__})", [] if new else [f"{check.__name__} did not object"])
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
