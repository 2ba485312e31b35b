"""Release tests: the packages scripts/release.sh wrote for the test build,
used the way a Windows user would, under Wine with a prefix of their own.

    test_release.py CASE --build WIN_BUILD --source CHECKOUT --release DIR --arch x86|x64 --port N

CASE is release_refusal, release_reproducible, release_install or
release_portable. The packages of both architectures are made beforehand by
the build target release_packages (DIR/out, and DIR/out-second-copy for the
comparison); install and portable use those of --arch, and the build folder
WIN_BUILD of that architecture for its probe. The install case holds the
installer to what winget's manifests in DIR/out/manifests say of it.
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

UNINSTALL_ROOT = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = UNINSTALL_ROOT + r"\Kavrelo"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
REMOTE_CLOSE = 37683
# The PE header's machine field of each architecture's programs.
PE_MACHINE = {"x86": 0x14C, "x64": 0x8664}
# The 32-bit packages keep their old names; the 64-bit ones say x64.
NAME_SUFFIX = {"x86": "", "x64": "-x64"}
BUILD_FOLDER = {"x86": "win32", "x64": "win64"}
# A folder of the user's choice for /D=, with a space, as winget's --location
# may well be.
CHOSEN_FOLDER = r"C:\Programlar\Kavrelo Deneme"


class Failure(Exception):
    pass


def step(text):
    print("--", text, flush=True)


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, condition, timeout):
    """Polls condition until it returns something true or the deadline passes."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.3)


class Release:
    """The packages, the Wine prefix of the release folder and its paths."""

    def __init__(self, args):
        self.source = Path(args.source)
        self.release = Path(args.release)
        self.arch = args.arch
        self.port = args.port
        self.out = self.release / "out"
        self.probe_exe = Path(args.build) / "tools" / "winprobe.exe"
        self.wine_run = self.source / "scripts" / "wine-run.sh"
        # Each architecture's tests have a Wine prefix of their own.
        self.wine_dir = self.release / f"wine-{self.arch}"
        self.wine_dir.mkdir(parents=True, exist_ok=True)
        for k in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"):
            os.environ.pop(k, None)
        # Paths with Turkish letters reach Wine as UTF-8.
        os.environ["LC_ALL"] = "C.UTF-8"

    def build_of(self, arch, copy="build"):
        return self.release / copy / BUILD_FOLDER[arch]

    def packages(self):
        """The version, this architecture's installer and zip, checked against
        SHA256SUMS, which lists every architecture's packages."""
        sums = self.out / "SHA256SUMS"
        check(sums.is_file(), f"{sums} is missing: build the release_packages target first")
        version_h = (self.build_of("x86") / "generated" / "build" / "Version.h").read_text()
        self.version = re.search(r'#define KAVRELO_VERSION_TEXT "(.*)"', version_h).group(1)
        names = {}
        for arch, suffix in NAME_SUFFIX.items():
            names[arch] = (self.out / f"kavrelo-{self.version}{suffix}-setup.exe",
                           self.out / f"kavrelo-{self.version}{suffix}-portable.zip")
            for package in names[arch]:
                check(package.is_file(), f"{package.name} is missing from {self.out}")
        present = sorted(p.name for p in self.out.iterdir() if p.name.startswith("kavrelo-"))
        expected = sorted(p.name for pair in names.values() for p in pair)
        check(present == expected, f"the packages are {present}, not {expected}")
        listed = sums.read_text().split()
        expected = [x for arch in ("x86", "x64") for p in names[arch] for x in (self.sha256(p), p.name)]
        # The manifests' lines follow (release_manifests checks those).
        check(listed[:len(expected)] == expected, f"SHA256SUMS does not match the packages: {listed}")
        self.names = names
        self.setup, self.zip = names[self.arch]
        self.exe_bytes = (self.build_of(self.arch) / "bin" / "kavrelo.exe").read_bytes()

    def read_manifest(self):
        """What winget's manifests promise of the installation: the fields of
        the default-locale and installer files, and the uninstall entry's key."""
        try:
            import yaml  # only this case reads the manifests
        except ImportError:
            raise Failure(f"{sys.executable} has no module 'yaml' (on Debian: apt-get install python3-yaml)")
        fields = {}
        for path in sorted((self.out / "manifests").glob("*.yaml")):
            data = yaml.safe_load(path.read_text(encoding="utf-8"))
            if data.get("ManifestType") in ("defaultLocale", "installer"):
                fields.update(data)
        for name in ("PackageName", "Publisher", "PackageVersion", "ProductCode", "InstallationMetadata"):
            check(name in fields, f"winget's manifests in {self.out / 'manifests'} give no {name}")
        check(fields["PackageVersion"] == self.version, f"the manifests are of version {fields['PackageVersion']}")
        self.manifest = fields
        self.uninstall_key = UNINSTALL_ROOT + "\\" + fields["ProductCode"]

    @staticmethod
    def sha256(path):
        return hashlib.sha256(path.read_bytes()).hexdigest()

    def start_wine(self):
        env = subprocess.run([str(self.wine_run), str(self.wine_dir), "--env"],
                             check=True, capture_output=True, text=True).stdout
        self.prefix = Path(re.search(r"WINEPREFIX='([^']*)'", env).group(1))
        self.display = re.search(r"DISPLAY='([^']*)'", env).group(1)
        user = os.environ.get("USER") or subprocess.run(["id", "-un"], capture_output=True,
                                                        text=True).stdout.strip()
        home = self.prefix / "drive_c" / "users" / user
        self.win_home = "C:\\users\\" + user
        self.install_dir = home / "AppData" / "Local" / "Programs" / "Kavrelo"
        self.win_install_dir = self.win_home + r"\AppData\Local\Programs\Kavrelo"
        self.shortcut = home / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Kavrelo.lnk"
        self.data = home / "AppData" / "Roaming" / "Valdomer" / "Kavrelo"
        self.chosen_dir = self.prefix / "drive_c" / CHOSEN_FOLDER[3:].replace("\\", "/")

    def wine(self, *args, timeout=120):
        # Wine's own tools may answer in the ANSI code page, not UTF-8.
        return subprocess.run([str(self.wine_run), str(self.wine_dir), *map(str, args)],
                              capture_output=True, text=True, errors="replace", timeout=timeout)

    def stop_wine(self):
        subprocess.run([str(self.wine_run), str(self.wine_dir), "--stop"], capture_output=True)

    def reg_values(self, key):
        """Values of a registry key as {name: data}, or None when the key is missing."""
        r = self.wine("reg", "query", key)
        if r.returncode != 0:
            return None
        values = {}
        for line in r.stdout.splitlines():
            m = re.match(r"\s+(\S.*?)\s+(REG_\w+)\s+(.*?)\s*$", line)
            if m:
                values[m.group(1)] = m.group(3)
        return values

    def run_value(self):
        return (self.reg_values(RUN_KEY) or {}).get("Kavrelo")

    def window(self):
        r = self.wine(self.probe_exe, "info")
        if r.returncode != 0:
            return None
        return dict(kv.split("=") for kv in r.stdout.split())

    def ticker_count(self):
        m = re.search(r"count=(\d+)", self.wine(self.probe_exe, "info").stdout)
        return int(m.group(1)) if m else 0

    def close_ticker(self):
        self.wine(self.probe_exe, "post", REMOTE_CLOSE)
        wait_for("the ticker to close", lambda: self.ticker_count() == 0, 30)

    def start_ticker(self, exe, data=None):
        """Starts a ticker and waits until it shows the demo feed (kept in
        `data`, by default the profile's folder)."""
        feed = (self.source / "tools" / "demo" / "sondakika.rss").read_bytes()
        news = (data or self.data) / "news.xml"
        if news.exists():
            news.unlink()
        process = subprocess.Popen([str(self.wine_run), str(self.wine_dir), str(exe)],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the ticker window", lambda: (self.window() or {}).get("visible") == "1", 60)
        wait_for("the demo feed in news.xml", lambda: news.is_file() and news.read_bytes() == feed, 60)
        return process


class DemoServer:
    """tools/demo/serve.py on the test port; the requests it saw are in its log."""

    def __init__(self, release):
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen([sys.executable, str(release.source / "tools" / "demo" / "serve.py"),
                                         str(release.port)], stdout=subprocess.DEVNULL, stderr=self.log)

    def requests(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(10)


def case_refusal(release):
    """The refusal rule, checked without building (--check stops after it)."""
    script = release.source / "scripts" / "release.sh"
    real = ["--news-host", "haber.ornek.com.tr", "--web-host", "kavrelo.ornek.com.tr",
            "--counter-host", "sayac.ornek.net"]
    table = [
        # (arguments, refused)
        ([], True),  # the .example placeholders
        (real, False),
        (real + ["--port", "8080", "--referral", "kavrelo_2.0"], False),
        (real[:4] + ["--counter-host", "counter.example"], True),
        (["--news-host", "127.0.0.1"] + real[2:], True),
        (["--news-host", "127.1.2.3"] + real[2:], True),
        (["--news-host", "LocalHost"] + real[2:], True),
        (["--news-host", "a.localhost"] + real[2:], True),
        (["--news-host", "0.0.0.0"] + real[2:], True),
        ([], False, "--allow-test-hosts"),
        (["--news-host", "127.0.0.1"] + real[2:], False, "--allow-test-hosts"),
        # Values that would break a string literal or a URL never pass.
        (["--news-host", 'a"b.com'] + real[2:], True, "--allow-test-hosts"),
        (["--news-host", "a b.com"] + real[2:], True, "--allow-test-hosts"),
        (["--news-host", "a.com/x"] + real[2:], True, "--allow-test-hosts"),
        (["--news-host", ""] + real[2:], True, "--allow-test-hosts"),
        (real + ["--port", "65536"], True),
        (real + ["--port", "80x"], True),
        (real + ["--referral", "a&b"], True),
        (real + ["--referral", ""], True),
        (real + ["--bogus"], True),
        (real + ["--plain-http", "news", "--plain-http", "counter", "--https-port", "8443"], False),
        (real + ["--plain-http", "all"], True),
        (real + ["--https-port", "443x"], True),
    ]
    env = {k: v for k, v in os.environ.items() if not k.startswith("KAVRELO_")}
    for row in table:
        args, refused = row[0] + list(row[2:]), row[1]
        r = subprocess.run(["bash", str(script), "--check", *args], capture_output=True, text=True, env=env)
        check((r.returncode != 0) == refused, f"release.sh {args}: exit {r.returncode}, {r.stderr.strip()}")
        if refused:
            check(r.returncode == 2 and "release:" in r.stderr, f"release.sh {args}: no reason given")
    # The environment counts like the arguments.
    r = subprocess.run(["bash", str(script), "--check"], capture_output=True, text=True,
                       env=dict(env, KAVRELO_NEWS_HOST="haber.ornek.com.tr", KAVRELO_WEB_HOST="w.ornek.com.tr",
                                KAVRELO_COUNTER_HOST="127.0.0.1"))
    check(r.returncode == 2 and "counter-host" in r.stderr, "a loopback host from the environment passed")
    # https for every host unless one is named; the environment names them
    # too.
    r = subprocess.run(["bash", str(script), "--check", *real], capture_output=True, text=True, env=env)
    check(r.stdout.startswith("news=https://haber.ornek.com.tr web=https://kavrelo.ornek.com.tr "
                              "counter=https://sayac.ornek.net"), f"not https by default: {r.stdout}")
    r = subprocess.run(["bash", str(script), "--check", *real, "--plain-http", "counter"], capture_output=True,
                       text=True, env=dict(env, KAVRELO_PLAIN_HTTP="web"))
    check("news=https://" in r.stdout and "web=http://" in r.stdout and "counter=http://" in r.stdout,
          f"hosts named plain are not: {r.stdout}")
    # A refused release builds and writes nothing.
    with tempfile.TemporaryDirectory() as tmp:
        r = subprocess.run(["bash", str(script), "--build", f"{tmp}/b", "--out", f"{tmp}/o"],
                           capture_output=True, text=True, env=env)
        check(r.returncode == 2 and not os.listdir(tmp), "a refused release left files behind")


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def pe_header(data, what):
    """(machine, link time) of a PE file's header."""
    check(len(data) > 0x40, f"{what} is not a PE file")
    pe = int.from_bytes(data[0x3C:0x40], "little")
    check(data[pe:pe + 4] == b"PE\0\0", f"{what} is not a PE file")
    return int.from_bytes(data[pe + 4:pe + 6], "little"), int.from_bytes(data[pe + 8:pe + 12], "little")


def case_reproducible(release):
    """Both architectures' programs, zips and installers, byte for byte
    against the second copy; each program and installer made for its own
    architecture. Nothing here runs under Wine."""
    release.packages()
    second_out = release.release / "out-second-copy"
    for arch, (setup, zip_path) in release.names.items():
        exe = release.build_of(arch) / "bin" / "kavrelo.exe"
        pairs = [(exe, release.build_of(arch, "build-second-copy") / "bin" / "kavrelo.exe"),
                 (zip_path, second_out / zip_path.name),
                 (setup, second_out / setup.name)]
        for a, b in pairs:
            check(b.is_file(), f"{b} is missing: build the release_packages target first")
            x, y = a.read_bytes(), b.read_bytes()
            check(x == y, f"{a} and {b} differ ({len(x)} and {len(y)} bytes, first at offset {first_difference(x, y)})")
        program = exe.read_bytes()
        # Neither folder's name is inside the program.
        for folder in (release.release, release.source):
            check(str(folder).encode() not in program, f"the {arch} kavrelo.exe contains the path {folder}")
        machine, stamp = pe_header(program, f"the {arch} kavrelo.exe")
        check(machine == PE_MACHINE[arch], f"the {arch} kavrelo.exe is built for machine {machine:#x}")
        check(stamp == 0, f"the {arch} kavrelo.exe carries a link time stamp")
        with zipfile.ZipFile(zip_path) as archive:
            check(archive.read("kavrelo.exe") == program, f"{zip_path.name} holds another program than the {arch} one")
        # The 64-bit program comes with a 64-bit installer (and uninstaller).
        machine, _ = pe_header(setup.read_bytes(), setup.name)
        check(machine == PE_MACHINE[arch], f"{setup.name} is built for machine {machine:#x}")
    # The manifests name the same packages at the same addresses, so they and
    # SHA256SUMS come out the same too.
    manifests = sorted(p.relative_to(release.out) for p in (release.out / "manifests").glob("*"))
    for name in ["SHA256SUMS", "kavrelo.json", *manifests]:
        a, b = release.out / name, second_out / name
        check(a.is_file() and b.is_file() and a.read_bytes() == b.read_bytes(), f"{a} and {b} differ")


def clean_prefix(release):
    """No installation, shortcut, registry entry or data from an earlier run."""
    if release.window():
        release.close_ticker()
    shutil.rmtree(release.install_dir, ignore_errors=True)
    shutil.rmtree(release.chosen_dir, ignore_errors=True)
    shutil.rmtree(release.data, ignore_errors=True)
    if release.shortcut.exists():
        release.shortcut.unlink()
    release.wine("reg", "delete", UNINSTALL_KEY, "/f")
    release.wine("reg", "delete", RUN_KEY, "/v", "Kavrelo", "/f")


def check_installed(release, folder=None, win_folder=None):
    """The installation in folder (by default the default one): files,
    shortcut, the uninstall entry winget's manifests describe, the Run value."""
    folder, win_folder = folder or release.install_dir, win_folder or release.win_install_dir
    exe = folder / "kavrelo.exe"
    check(exe.is_file() and exe.read_bytes() == release.exe_bytes, f"{exe} is not the release build's program")
    check((folder / "kaldir.exe").is_file(), "no uninstaller beside the program")
    check(release.shortcut.is_file(), f"no Start-menu shortcut {release.shortcut}")
    check(win_folder.lower().encode("utf-16-le") in release.shortcut.read_bytes().lower() or
          win_folder.lower().encode() in release.shortcut.read_bytes().lower(),
          "the shortcut does not point into the installation folder")
    # Under the key winget looks for (ProductCode), what it shows and
    # compares: the package's name, publisher and version.
    values = release.reg_values(release.uninstall_key)
    check(values is not None, f"no uninstall entry {release.uninstall_key}")
    quoted_uninstaller = f'"{win_folder}\\kaldir.exe"'
    expected = {
        "DisplayName": release.manifest["PackageName"],
        "DisplayVersion": release.manifest["PackageVersion"],
        "Publisher": release.manifest["Publisher"],
        "DisplayIcon": win_folder + "\\kavrelo.exe,0",
        "InstallLocation": win_folder,
        "UninstallString": quoted_uninstaller,
        "QuietUninstallString": quoted_uninstaller + " /S",
    }
    for name, value in expected.items():
        check(values.get(name, "").lower() == value.lower(), f"uninstall entry {name} is {values.get(name)!r}, not {value!r}")
    size = int(values.get("EstimatedSize", "0"), 0)
    check(abs(size - len(release.exe_bytes) // 1024) < 1024, f"EstimatedSize {size} KB does not fit the program")
    # Exactly what the options panel writes: the program's path in quotes.
    location = values["InstallLocation"]
    check(release.run_value() == f'"{location}\\kavrelo.exe"', f"Run value is {release.run_value()!r}")


def window_titles(release, pattern):
    r = subprocess.run(["xdotool", "search", "--name", pattern], capture_output=True, text=True,
                       env=dict(os.environ, DISPLAY=release.display))
    titles = []
    for window in r.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=release.display)).stdout.strip()
        titles.append(name)
    return titles


def case_install(release):
    release.packages()
    release.read_manifest()
    release.start_wine()
    try:
        clean_prefix(release)
        # The folder a silent install goes to is the one the manifest names.
        default = release.manifest["InstallationMetadata"].get("DefaultInstallLocation", "")
        local = release.win_home + r"\AppData\Local"
        check(re.sub("%LOCALAPPDATA%", lambda _: local, default, flags=re.I).lower() == release.win_install_dir.lower(),
              f"the manifest's DefaultInstallLocation {default!r} is not {release.win_install_dir}")
        # Without /S the installer shows its pages, in Turkish.
        step("the installer's window")
        shown = subprocess.Popen([str(release.wine_run), str(release.wine_dir), str(release.setup)],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the window \"Kavrelo Kurulumu\"", lambda: "Kavrelo Kurulumu" in window_titles(release, "Kavrelo"), 60)
        release.wine("taskkill", "/f", "/im", release.setup.name)
        try:
            shown.wait(10)
        except subprocess.TimeoutExpired:
            # Debian's `wine` with wine32 installed runs the 32-bit taskkill,
            # which does not find the 64-bit installer ("Could not find
            # process"). Each Windows program is a process of this machine
            # whose command line names its file: end it there.
            subprocess.run(["pkill", "-KILL", "-f", release.setup.name], check=False)
            shown.wait(30)
        check(not release.install_dir.exists(), "the installer wrote files before its pages were through")
        step(f"silent install of {release.setup.name}")
        r = release.wine(release.setup, "/S")
        check(r.returncode == 0, f"silent install ended with {r.returncode}")
        check_installed(release)

        with DemoServer(release) as server:
            step("starting the installed program")
            first = release.start_ticker(release.install_dir / "kavrelo.exe")
            check("/sondakika.rss?rand=" in server.requests(), "the installed program did not ask for the feed")

            # Installing over the running copy: it is asked to close, the
            # files are replaced and the ticker comes back.
            # "old copy" shows the file is replaced. It goes in under a new
            # inode: writing into the running program's own file would change
            # the code Wine has mapped from it under its feet.
            stand_in = release.install_dir / "kavrelo.exe.old"
            stand_in.write_bytes(b"old copy")
            os.replace(stand_in, release.install_dir / "kavrelo.exe")
            check(first.poll() is None, "the ticker ended by itself")
            step("installing over the running copy")
            before = time.monotonic()
            r = release.wine(release.setup, "/S")
            check(r.returncode == 0, f"install over a running copy ended with {r.returncode}")
            try:
                first.wait(30)
            except subprocess.TimeoutExpired:
                raise Failure("the running ticker was not closed by the installer")
            check(time.monotonic() - before < 60, "the installer waited too long for the ticker")
            check_installed(release)
            check((release.data / "news.xml").is_file(), "the upgrade lost the data folder")
            wait_for("the ticker back after the upgrade", lambda: release.ticker_count() == 1, 60)
            release.close_ticker()

        step("silent uninstall")
        # Silent uninstall runs from a copy of itself and returns at once.
        r = release.wine(release.install_dir / "kaldir.exe", "/S")
        check(r.returncode == 0, f"silent uninstall ended with {r.returncode}")
        wait_for("the installation folder to go", lambda: not release.install_dir.exists(), 60)
        check(not release.shortcut.exists(), "the uninstaller left the Start-menu shortcut")
        check(release.reg_values(UNINSTALL_KEY) is None, "the uninstaller left the uninstall entry")
        check(release.run_value() is None, "the uninstaller left the Run value")
        check((release.data / "news.xml").is_file(), "the uninstaller removed the data folder without being asked")

        # Asked to, it removes the data folder too, and nothing beside it.
        step("silent uninstall with the data folder")
        neighbour = release.data.parent / "Baska" / "dosya.txt"
        neighbour.parent.mkdir(parents=True, exist_ok=True)
        neighbour.write_text("başka bir program")
        r = release.wine(release.setup, "/S")
        check(r.returncode == 0 and release.install_dir.exists(), "the second silent install failed")
        r = release.wine(release.install_dir / "kaldir.exe", "/S", "/VERILER")
        check(r.returncode == 0, f"silent uninstall with /VERILER ended with {r.returncode}")
        wait_for("the data folder to go", lambda: not release.data.exists() and not release.install_dir.exists(), 60)
        check(neighbour.read_text() == "başka bir program", "the uninstaller touched another program's folder")
        check(release.reg_values(UNINSTALL_KEY) is None and release.run_value() is None,
              "the second uninstall left registry entries")

        # Installed without "start with Windows", the program's first run
        # must not turn it on by itself.
        step("silent install without autostart, then the first run")
        r = release.wine(release.setup, "/S", "/OTOBASLATMA")
        check(r.returncode == 0 and release.install_dir.exists(), "the install without autostart failed")
        check(release.run_value() is None, "the install without autostart wrote a Run value")
        with DemoServer(release):
            release.start_ticker(release.install_dir / "kavrelo.exe")
            release.close_ticker()
        check(release.run_value() is None, "the first run turned autostart on against the installer's choice")
        options = (release.data / "options.ini").read_bytes().decode("utf-16")
        check("startup=0" in options, f"options.ini says {options!r}")
        r = release.wine(release.install_dir / "kaldir.exe", "/S", "/VERILER")
        check(r.returncode == 0, f"the last uninstall ended with {r.returncode}")
        wait_for("the last uninstall", lambda: not release.install_dir.exists() and
                 release.reg_values(release.uninstall_key) is None, 60)

        # winget's --location comes as /D=, last and unquoted, spaces and all:
        # the words go as separate arguments so that Wine does not quote them.
        step(f"silent install into {CHOSEN_FOLDER} (/D=)")
        r = release.wine(release.setup, "/S", *f"/D={CHOSEN_FOLDER}".split(" "))
        check(r.returncode == 0, f"silent install with /D= ended with {r.returncode}")
        check(not release.install_dir.exists(), "the installer went to its default folder despite /D=")
        check_installed(release, release.chosen_dir, CHOSEN_FOLDER)
        step("silent uninstall from the chosen folder")
        r = release.wine(release.chosen_dir / "kaldir.exe", "/S")
        check(r.returncode == 0, f"silent uninstall from the chosen folder ended with {r.returncode}")
        wait_for("the chosen folder to go", lambda: not release.chosen_dir.exists(), 60)
        check(release.reg_values(release.uninstall_key) is None, "the uninstaller left the uninstall entry")
        check(release.run_value() is None, "the uninstaller left the Run value")
        check(not release.shortcut.exists(), "the uninstaller left the Start-menu shortcut")
    finally:
        release.wine("taskkill", "/f", "/im", "kavrelo.exe")
        release.stop_wine()


def case_portable(release):
    release.packages()
    with zipfile.ZipFile(release.zip) as archive:
        names = archive.namelist()
        check(names == ["kavrelo.exe", "BENIOKU.txt", "portable.txt"], f"the zip holds {names}")
        check(archive.read("kavrelo.exe") == release.exe_bytes, "the zip's exe is not the release build's")
        for name in ("BENIOKU.txt", "portable.txt"):
            text = archive.read(name)
            check(b"\r\n" in text and b"\n" not in text.replace(b"\r\n", b""), f"{name} has no CRLF lines")
        text = archive.read("BENIOKU.txt")
        check(text.startswith(b"\xef\xbb\xbf"), "BENIOKU.txt is not UTF-8 with a byte-order mark")
        body = text.decode("utf-8")
        for words in (f"Kavrelo {release.version}", "TÜRKÇE", "ENGLISH", "portable.txt", "data",
                      r"%APPDATA%\Valdomer\Kavrelo"):
            check(words in body, f"BENIOKU.txt lacks {words!r}")
        release.start_wine()
        step("running the zip's program from a folder with a space and Turkish letters")
        folder = release.prefix / "drive_c" / "Kavrelo Taşınabilir ğüşıöçİ"
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(release.data.parent, ignore_errors=True)
        archive.extractall(folder)
    try:
        with DemoServer(release):
            release.start_ticker(folder / "kavrelo.exe", folder / "data")
            release.close_ticker()
        # The marker keeps everything beside the program: nothing in the
        # profile, no Run value (autostart is opt-in for a portable copy).
        kept = sorted(p.name for p in (folder / "data").iterdir())
        check("options.ini" in kept and "news.xml" in kept, f"data beside the program holds {kept}")
        check(not release.data.parent.exists(), "the portable copy wrote into %APPDATA%")
        check(release.run_value() is None, f"the portable copy wrote a Run value: {release.run_value()!r}")
        check(not any(k.startswith("Kavrelo") for k in (release.reg_values(RUN_KEY) or {})),
              f"the portable copy wrote a Run value: {release.reg_values(RUN_KEY)}")
    finally:
        release.wine("taskkill", "/f", "/im", "kavrelo.exe")
        release.stop_wine()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("case", choices=["release_refusal", "release_reproducible", "release_install", "release_portable"])
    p.add_argument("--build", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--release", required=True)
    p.add_argument("--arch", choices=sorted(PE_MACHINE), required=True)
    p.add_argument("--port", type=int, required=True)
    args = p.parse_args()
    release = Release(args)
    started = time.monotonic()
    try:
        globals()["case_" + args.case.split("_", 1)[1]](release)
    except Failure as e:
        print(f"FAIL {args.case}: {e}")
        return 1
    print(f"ok {args.case} ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
