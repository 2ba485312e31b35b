"""A portable copy: the test build's kavrelo.exe in a folder of its own with
portable.txt beside it, as the zip unpacks. It keeps its options and feed in
data\\ beside itself, writes nothing under %APPDATA% and no Run value unless
autostart is asked for (then a value of its own, removed again); a folder it
cannot write gets a notice, no crash and nothing kept; the marker beside the
installed copy does not count; --paths tells the mode and the folder."""
import os
import shutil
import subprocess

from harness import FeedServer, Ticker, feed, full_face, run, wait_for, win_path

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrelo"
PORTABLE_RUN_VALUE = "Kavrelo (taşınabilir)"
# How the value shows in `reg query`, whatever code page its output takes.
PORTABLE_SHOWN = "Kavrelo (ta"
REMOTE_CLOSE = 37683
IDOK = 1


def stick(env, name="stick", marker=True):
    """A folder holding a copy of the program (and the marker)."""
    folder = env.scratch / name / "Kavrelo"
    shutil.rmtree(folder.parent, ignore_errors=True)
    folder.mkdir(parents=True)
    shutil.copy(env.exe, folder / "kavrelo.exe")
    if marker:
        (folder / "portable.txt").write_text("portable\r\n")
    return folder


def paths(env, exe):
    r = env.wine(exe, "--paths")
    assert r.returncode == 0, r.stdout + r.stderr
    return dict(line.split("=", 1) for line in r.stdout.splitlines() if "=" in line)


def run_values(env):
    """The values under the Run key, as `reg query` lists them."""
    r = env.wine("reg", "query", RUN_KEY)
    return r.stdout


def profile_data(env):
    return env.roaming / "Valdomer"


def clean(env):
    env.fresh_data_folder()
    env.wine("reg", "delete", RUN_KEY, "/v", "Kavrelo", "/f")
    env.wine("reg", "delete", RUN_KEY, "/v", PORTABLE_RUN_VALUE, "/f")
    env.wine("reg", "delete", UNINSTALL_KEY, "/f")


def restart_wine(env):
    """Stops the prefix's Wine server (not the display); the next program
    starts it again."""
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": str(env.prefix)}, timeout=60)


def close(env, ticker):
    assert env.post(REMOTE_CLOSE)
    assert ticker.exit_code(30) is not None, "the ticker did not end"


def temp_session_folders(env):
    """This prefix's folders of portable runs that could not write beside
    themselves (Wine's temporary folder is the profile's Temp, or
    AppData\\Local\\Temp as on Windows)."""
    home = env.roaming.parent.parent
    return sorted(p.name for temp in (home / "Temp", home / "AppData" / "Local" / "Temp") if temp.exists()
                  for p in temp.glob("Kavrelo-*"))


def test_paths_switch_tells_mode_and_folder(env):
    clean(env)
    try:
        folder = stick(env)
        exe = folder / "kavrelo.exe"
        got = paths(env, exe)
        assert got == {"mode": "portable", "data": win_path(folder / "data"), "writable": "1",
                       "autostart": "offered"}, got
        # Without the marker: the profile's folder.
        (folder / "portable.txt").unlink()
        got = paths(env, exe)
        assert got["mode"] == "installed" and got["data"].endswith("\\Valdomer\\Kavrelo"), got
        # The marker beside the installed copy does not count.
        (folder / "portable.txt").write_text("portable\r\n")
        env.wine("reg", "add", UNINSTALL_KEY, "/v", "InstallLocation", "/t", "REG_SZ", "/d", win_path(folder), "/f")
        assert paths(env, exe)["mode"] == "installed"
        # Another folder is another copy: portable again.
        other = stick(env, "other")
        assert paths(env, other / "kavrelo.exe")["mode"] == "portable"
    finally:
        clean(env)


def test_portable_copy_keeps_its_data_beside_itself(env):
    clean(env)
    try:
        folder = stick(env)
        data = folder / "data"
        with FeedServer(env.port, feed(env)), Ticker(env, folder / "kavrelo.exe") as ticker:
            full_face(env)
            wait_for(lambda: (data / "news.xml").exists(), 30, "news.xml in data beside the copy")
            close(env, ticker)
        assert (data / "options.ini").exists(), sorted(p.name for p in data.iterdir())
        options = (data / "options.ini").read_bytes().decode("utf-16")
        # Autostart is off unless asked for, and nothing names a drive.
        assert "startup=0" in options, options
        assert ":\\" not in options and "Z:" not in options, options
        assert not profile_data(env).exists(), "the portable copy wrote into %APPDATA%"
        assert "Kavrelo" not in run_values(env), run_values(env)
        # Asked for, autostart is a value of the copy's own; unasked, it goes.
        (data / "options.ini").write_bytes(b"\xff\xfe" + options.replace("startup=0", "startup=1").encode("utf-16-le"))
        with FeedServer(env.port, feed(env)), Ticker(env, folder / "kavrelo.exe") as ticker:
            full_face(env)
            wait_for(lambda: PORTABLE_SHOWN in run_values(env), 20, "the portable copy's Run value")
            close(env, ticker)
        values = run_values(env)
        assert win_path(folder / "kavrelo.exe") in values, values
        assert "    Kavrelo    " not in values, f"the installed copy's value was written: {values}"
        options = (data / "options.ini").read_bytes().decode("utf-16")
        (data / "options.ini").write_bytes(b"\xff\xfe" + options.replace("startup=1", "startup=0").encode("utf-16-le"))
        with FeedServer(env.port, feed(env)), Ticker(env, folder / "kavrelo.exe") as ticker:
            full_face(env)
            wait_for(lambda: PORTABLE_SHOWN not in run_values(env), 20, "the Run value removed")
            close(env, ticker)
        assert not profile_data(env).exists()
    finally:
        clean(env)


def test_no_autostart_on_a_removable_drive(env):
    """The copy on drive R:, which Wine is told is a removable one: asked
    for autostart in its options, it still writes no Run value, and keeps
    the switch off."""
    clean(env)
    drive = env.prefix / "dosdevices" / "r:"
    drives = r"HKLM\Software\Wine\Drives"
    try:
        folder = stick(env, "removable")
        drive.unlink(missing_ok=True)
        drive.symlink_to(folder.parent)
        assert env.wine("reg", "add", drives, "/v", "r:", "/t", "REG_SZ", "/d", "floppy", "/f").returncode == 0
        # Wine's mount manager reads the drives' types as the server starts.
        restart_wine(env)
        exe = "R:\\Kavrelo\\kavrelo.exe"
        got = paths(env, exe)
        assert got["data"] == "R:\\Kavrelo\\data" and got["autostart"] == "not offered", got
        (folder / "data").mkdir(exist_ok=True)
        (folder / "data" / "options.ini").write_bytes(
            b"\xff\xfe" + "[options]\r\nstartup=1\r\n".encode("utf-16-le"))
        with FeedServer(env.port, feed(env)), Ticker(env, exe) as ticker:
            full_face(env)
            wait_for(lambda: (folder / "data" / "news.xml").exists(), 30, "news.xml on the removable drive")
            close(env, ticker)
        assert "Kavrelo" not in run_values(env), run_values(env)
        options = (folder / "data" / "options.ini").read_bytes().decode("utf-16")
        assert "startup=0" in options, options
    finally:
        env.wine("reg", "delete", drives, "/v", "r:", "/f")
        drive.unlink(missing_ok=True)
        restart_wine(env)
        clean(env)


def test_folder_that_cannot_be_written(env):
    clean(env)
    try:
        folder = stick(env)
        # "data" taken by a file: the folder cannot be made, as on read-only
        # media (and unlike chmod, this holds for root too).
        (folder / "data").write_bytes(b"kept as it is")
        before = temp_session_folders(env)
        with FeedServer(env.port, feed(env)), Ticker(env, folder / "kavrelo.exe") as ticker:
            text = wait_for(env.message_box, 30, "the notice")
            assert "yazamıyor" in text, text
            assert env.answer_message_box(IDOK)
            full_face(env)
            # The news still shows, from this run's own folder.
            wait_for(lambda: len(temp_session_folders(env)) > len(before), 20, "this run's folder")
            close(env, ticker)
            assert not ticker.crash()
        assert (folder / "data").read_bytes() == b"kept as it is"
        assert sorted(p.name for p in folder.iterdir()) == ["data", "kavrelo.exe", "portable.txt"]
        assert not profile_data(env).exists(), "fell back to %APPDATA%"
        assert temp_session_folders(env) == before, "this run's folder was left behind"
        assert "Kavrelo" not in run_values(env)
    finally:
        clean(env)


if __name__ == "__main__":
    run([
        test_paths_switch_tells_mode_and_folder,
        test_portable_copy_keeps_its_data_beside_itself,
        test_no_autostart_on_a_removable_drive,
        test_folder_that_cannot_be_written,
    ])
