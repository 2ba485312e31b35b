"""DLL planting: copies of winmm.dll and msimg32.dll that mark their loading
sit beside the program, as a browser's downloads sit beside a portable copy
unpacked in Downloads, and Wine is told to prefer such native copies. The
program refreshes and paints, and neither copy is ever loaded.

The probe shows that the setting can catch it: without the restriction it
loads both copies; with it, neither."""
import os
import shutil

from harness import FeedServer, Ticker, feed, run, wait_for

PLANTED = ("winmm.dll", "msimg32.dll")


def planted_folder(env):
    """The folder of the planting test's programs, with the two planted
    copies in it and no marks left from an earlier run."""
    folder = env.build / "planting"
    for name in PLANTED:
        shutil.copyfile(folder / "planted.dll", folder / name)
        (folder / (name + ".loaded")).unlink(missing_ok=True)
    return folder


def loaded(folder):
    return sorted(name for name in PLANTED if (folder / (name + ".loaded")).exists())


class NativeFirst:
    """Wine loads a native copy of the planted names in preference to its own."""

    def __enter__(self):
        os.environ["KAVRELO_EXTRA_DLLOVERRIDES"] = ",".join(n[:-4] for n in PLANTED) + "=n,b"

    def __exit__(self, *exc):
        os.environ.pop("KAVRELO_EXTRA_DLLOVERRIDES", None)


def test_the_probe_loads_planted_copies_only_without_the_restriction(env):
    folder = planted_folder(env)
    with NativeFirst():
        r = env.wine(folder / "dllprobe.exe", "plain")
        assert loaded(folder) == sorted(PLANTED), f"the unrestricted probe did not load them: {r.returncode}"
        folder = planted_folder(env)
        r = env.wine(folder / "dllprobe.exe", "restrict")
        assert r.returncode == 0, f"the restricted probe failed: {r.returncode} {r.stderr[-300:]}"
        assert loaded(folder) == [], f"loaded despite the restriction: {loaded(folder)}"


def test_the_ticker_never_loads_a_dll_from_its_own_folder(env):
    folder = planted_folder(env)
    program = folder / "kavrelo.exe"
    shutil.copyfile(env.exe, program)
    env.fresh_data_folder()
    with NativeFirst(), FeedServer(env.port, feed(env)) as server, Ticker(env, program) as ticker:
        ticker.wait_window()
        # A refresh, the counter and the fade-in's paints have all run.
        wait_for(lambda: (env.data / "news.xml").exists(), 30, "the first refresh")
        wait_for(lambda: len(server.feed_requests()) >= 2, env.refresh * 2 + 20, "a second refresh")
        assert (env.probe() or {}).get("visible") == "1"
        assert loaded(folder) == [], f"planted DLLs were loaded: {loaded(folder)}"


if __name__ == "__main__":
    run([
        test_the_probe_loads_planted_copies_only_without_the_restriction,
        test_the_ticker_never_loads_a_dll_from_its_own_folder,
    ])
