"""The load check against small programs made for the purpose, for each
architecture whose mingw-w64 compiler is installed (nothing is run):

- a dllimport call into a delay-loaded winmm, linked against a library made
  by dlltool alone: on x86 its slot comes out null and the check must say
  so; made by our recipe (cmake/MakeDelayLibrary.cmake) it must pass, on
  both architectures, for dllimport calls and calls through the stub alike;
- the passing program with one delay-load descriptor broken in the file;
- a call to a weak function that no one defines (address 0).

    test_pe_load_check.py SOURCE_DIR WORK_DIR
"""
import shutil
import struct
import subprocess
import sys
from pathlib import Path

source = Path(sys.argv[1])
work = Path(sys.argv[2])
sys.path.insert(0, str(source / "tools"))
import pe_load_check  # noqa: E402
from pe_image import load  # noqa: E402

PROGRAM = r"""
#include <windows.h>
#include <mmsystem.h>
#include <stdio.h>
/* Through the stub: no dllimport. */
extern MMRESULT WINAPI stub_timeBeginPeriod(UINT) __asm__(STUB_NAME);
int main(void) {
  TIMECAPS caps;
  MMRESULT r = timeGetDevCaps(&caps, sizeof caps);  /* dllimport: through __imp_ */
  printf("%u %u %u\n", r, caps.wPeriodMin, stub_timeBeginPeriod(1));
  return 0;
}
"""
WEAK_CALL = "extern void nobody_defines_this(void) __attribute__((weak));\nint main(void) { nobody_defines_this(); return 0; }\n"

ARCHES = {
    # mingw prefix: (C symbol of timeBeginPeriod, .def names, dlltool's --kill-at)
    "i686": ("_timeBeginPeriod@4", ["timeGetDevCaps@8", "timeBeginPeriod@4"], True),
    "x86_64": ("timeBeginPeriod", ["timeGetDevCaps", "timeBeginPeriod"], False),
}


def run(*args, **kw):
    r = subprocess.run([str(a) for a in args], capture_output=True, text=True, **kw)
    if r.returncode != 0:
        raise RuntimeError(f"{' '.join(map(str, args))} failed: {r.stdout}{r.stderr}")
    return r


def faults(exe):
    return pe_load_check.check(str(exe))[0]


def make_library(arch, folder, recipe):
    prefix = f"{arch}-w64-mingw32"
    stub, names, kill_at = ARCHES[arch]
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "winmm.def").write_text("LIBRARY winmm.dll\nEXPORTS\n" + "\n".join(names) + "\n")
    library = folder / "libwinmm_delay.a"
    if recipe:
        run("cmake", f"-DDLLTOOL={prefix}-dlltool", f"-DOBJCOPY={prefix}-objcopy", f"-DDEF={folder / 'winmm.def'}",
            "-DDLL=winmm.dll", f"-DLIBRARY={library}", f"-DKILL_AT={'ON' if kill_at else 'OFF'}",
            "-P", source / "cmake" / "MakeDelayLibrary.cmake")
    else:
        run(f"{prefix}-dlltool", "--input-def", folder / "winmm.def", "--dllname", "winmm.dll",
            *(["--kill-at"] if kill_at else []), "--output-delaylib", library)
    return library


def link(arch, folder, code, *libraries, defines=()):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "t.c").write_text(code)
    exe = folder / "t.exe"
    run(f"{arch}-w64-mingw32-gcc", *defines, folder / "t.c", "-o", exe, *libraries)
    return exe


def break_descriptor(exe, broken):
    """A copy of the program with its delay-load descriptor's attributes
    (0: the old address-based kind) or its DLL name field changed."""
    image = load(exe)
    (rva, _), = image.delay_descriptors()
    data = bytearray(image.data)
    at = image.offset(rva)
    if broken == "attributes":
        struct.pack_into("<I", data, at, 0)
    else:
        # The name now points at the module handle, which holds no name.
        struct.pack_into("<I", data, at + 4, struct.unpack_from("<I", data, at + 8)[0])
    copy = exe.with_name(f"t-{broken}.exe")
    copy.write_bytes(bytes(data))
    return copy


def main():
    failures = []
    ran = 0

    def expect(what, found, wanted):
        """wanted: None for no faults, else a text one fault must contain."""
        ok = not found if wanted is None else any(wanted in f for f in found)
        if not ok:
            failures.append(f"{what}: expected {wanted or 'no faults'}, got {found}")

    for arch, (stub, _, _) in ARCHES.items():
        if not shutil.which(f"{arch}-w64-mingw32-gcc"):
            print(f"skipped {arch}: no {arch}-w64-mingw32-gcc")
            continue
        ran += 1
        folder = work / arch
        shutil.rmtree(folder, ignore_errors=True)
        defines = [f'-DSTUB_NAME="{stub}"']
        raw = link(arch, folder / "raw", PROGRAM, make_library(arch, folder / "raw", False), "-ldelayimp",
                   defines=defines)
        fixed = link(arch, folder / "recipe", PROGRAM, make_library(arch, folder / "recipe", True), "-ldelayimp",
                     defines=defines)
        cases = [
            # The GNU linker's stub heuristic exists for i386 alone.
            ("dlltool's library, dllimport call", raw,
             "timeGetDevCaps: delay slot" if arch == "i686" else None),
            ("our recipe, dllimport and stub calls", fixed, None),
            ("attributes 0", break_descriptor(fixed, "attributes"), "malformed: attributes 0"),
            ("no DLL name", break_descriptor(fixed, "name"), "malformed: its name is not a DLL's"),
            ("weak call", link(arch, folder / "weak", WEAK_CALL), "goes to address 0"),
        ]
        if arch == "i686":
            # The null slot is the one the dllimport call goes through, and
            # the stub-called function's slot is sound.
            found = faults(raw)
            expect(f"{arch}: stub call in dlltool's library",
                   [f for f in found if "timeBeginPeriod" in f], None)
        for what, exe, wanted in cases:
            expect(f"{arch}: {what}", faults(exe), wanted)
        print(f"{arch}: {len(cases)} programs checked")
    for f in failures:
        print("FAIL", f)
    if not ran:
        print("no mingw-w64 compiler: nothing checked")
        return 77
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
