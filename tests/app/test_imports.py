"""The program's import table: a DLL loaded at start, before the program
can restrict the search path, must be a KnownDLL on every supported Windows
(the loader takes those from System32 only). Every other DLL is
delay-loaded, so it is loaded after the restriction, from System32.

The program still runs on Windows 7: no function it imports, at start or
delay-loaded, may be one that Windows 7's DLLs do not export (those are
looked up with GetProcAddress as the program runs), and no DLL it imports
may be one Windows 7 does not have.

    test_imports.py PROGRAM.exe
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from pe_image import load  # noqa: E402

# KnownDLLs of Windows 7 and of every later Windows.
ALLOWED = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
           "shell32.dll", "user32.dll"}
# Not KnownDLLs everywhere (gdiplus is one only since Windows 8, comctl32
# never is), and used by the program: these must be delay-loaded.
DELAYED = {"winmm.dll", "wininet.dll", "gdiplus.dll", "comctl32.dll", "oleacc.dll", "iphlpapi.dll"}

# Functions of the system's DLLs that Windows 7 SP1 does not export (added
# in Windows 8, 8.1 or 10, or only with an optional update), among those a
# program like this one may reach for.
NOT_ON_WINDOWS_7 = {
    # user32: DPI (8.1, 10)
    "GetDpiForWindow", "GetDpiForSystem", "GetSystemDpiForProcess", "GetSystemMetricsForDpi",
    "SystemParametersInfoForDpi", "AdjustWindowRectExForDpi", "SetThreadDpiAwarenessContext",
    "GetThreadDpiAwarenessContext", "GetWindowDpiAwarenessContext", "SetProcessDpiAwarenessContext",
    "AreDpiAwarenessContextsEqual", "GetAwarenessFromDpiAwarenessContext", "GetDpiFromDpiAwarenessContext",
    "IsValidDpiAwarenessContext", "EnableNonClientDpiScaling", "LogicalToPhysicalPointForPerMonitorDPI",
    "PhysicalToLogicalPointForPerMonitorDPI", "SetThreadDpiHostingBehavior", "InheritWindowMonitor",
    # user32: pointer input, rotation, immersive (8)
    "GetPointerType", "GetPointerInfo", "EnableMouseInPointer", "IsMouseInPointerEnabled",
    "GetCurrentInputMessageSource", "SetDisplayAutoRotationPreferences", "GetDisplayAutoRotationPreferences",
    "IsImmersiveProcess", "RegisterPointerInputTarget",
    # shcore (8.1)
    "GetDpiForMonitor", "SetProcessDpiAwareness", "GetProcessDpiAwareness", "GetScaleFactorForMonitor",
    # kernel32 (8, 10)
    "GetSystemTimePreciseAsFileTime", "CreateFile2", "CopyFile2", "GetCurrentPackageId", "GetCurrentPackageFullName",
    "GetPackageFamilyName", "SetThreadDescription", "GetThreadDescription", "InitializeSynchronizationBarrier",
    "EnterSynchronizationBarrier", "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll", "GetOverlappedResultEx",
    "PrefetchVirtualMemory", "SetProcessMitigationPolicy", "GetProcessMitigationPolicy", "SetProcessInformation",
    "GetProcessInformation", "QueryUnbiasedInterruptTimePrecise", "MapViewOfFileFromApp",
    "CreateFileMappingFromApp", "VirtualAlloc2", "DiscardVirtualMemory", "OfferVirtualMemory",
    "ReclaimVirtualMemory", "CompareObjectHandles", "GetFirmwareType",
    # kernel32: only with KB2533623 on Windows 7
    "SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory",
}
# DLLs Windows 7 does not have.
NOT_ON_WINDOWS_7_DLLS = {"shcore.dll", "api-ms-win-shcore-scaling-l1-1-1.dll", "ucrtbase.dll"}


def main():
    image = load(sys.argv[1])
    static = image.static_imports()
    delayed = image.delay_imports()
    print("static:", " ".join(sorted(static)))
    print("delayed:", " ".join(sorted(delayed)))
    failures = []
    outside = sorted(set(static) - ALLOWED)
    if outside:
        failures.append(f"loaded at start but not KnownDLLs everywhere: {outside}")
    missing = sorted(DELAYED - delayed)
    if missing:
        failures.append(f"not delay-loaded: {missing}")
    if not static or "kernel32.dll" not in static:
        failures.append("the import table was not read")
    functions = {}
    for table in (image.static_functions(), image.delay_functions()):
        for dll, names in table.items():
            functions.setdefault(dll, set()).update(names)
    if not functions.get("kernel32.dll"):
        failures.append("no function names were read")
    newer = sorted(f"{dll}!{f}" for dll, names in functions.items() for f in names if f in NOT_ON_WINDOWS_7)
    if newer:
        failures.append(f"imports what Windows 7 does not export (look them up as the program runs): {newer}")
    dlls = sorted((set(static) | delayed) & NOT_ON_WINDOWS_7_DLLS)
    if dlls:
        failures.append(f"imports DLLs Windows 7 does not have: {dlls}")
    print("functions:", sum(len(n) for n in functions.values()))
    for f in failures:
        print("FAIL", f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
