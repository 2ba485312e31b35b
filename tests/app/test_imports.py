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
import struct
import sys

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


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        sections = struct.unpack_from("<H", data, pe + 6)[0]
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pe64 = magic == 0x20B
        directories = optional + (112 if magic == 0x20B else 96)
        self.imports_rva = struct.unpack_from("<I", data, directories + 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            s = table + 40 * i
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((rva, max(size, raw_size), raw, raw_size))

    def offset(self, rva):
        for start, size, raw, raw_size in self.sections:
            if start <= rva < start + size and rva - start < raw_size:
                return raw + rva - start
        return None

    def string(self, rva):
        at = self.offset(rva)
        if at is None:
            return None
        end = self.data.find(b"\0", at, at + 260)
        return self.data[at:end].decode("ascii", "replace") if end > at else None

    def thunk_names(self, rva):
        """Function names of an import name table (ordinals are left out)."""
        names = []
        at = self.offset(rva) if rva else None
        size, ordinal = (8, 1 << 63) if self.pe64 else (4, 1 << 31)
        while at is not None:
            entry = struct.unpack_from("<Q" if self.pe64 else "<I", self.data, at)[0]
            if entry == 0:
                break
            if not entry & ordinal:
                name = self.string((entry & 0x7FFFFFFF) + 2)
                if name:
                    names.append(name)
            at += size
        return names

    def static_imports(self):
        return list(self.static_functions())

    def static_functions(self):
        """{dll: [function, ...]} of the import table."""
        dlls = {}
        at = self.offset(self.imports_rva)
        while at is not None:
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, at)
            if name == 0 and iat == 0:
                break
            dlls.setdefault(self.string(name).lower(), []).extend(self.thunk_names(lookup or iat))
            at += 20
        return dlls

    def delay_imports(self):
        return set(self.delay_functions())

    def delay_functions(self):
        """{dll: [function, ...]} of the delay-load descriptors (ImgDelayDescr, RVA-based:
        attributes 1, then the RVAs of the name, the module handle, the IAT
        and the name table). GNU ld leaves the data directory entry empty, so
        the descriptors are found by their shape."""
        names = {}
        data = self.data
        for start, size, raw, raw_size in self.sections:
            for at in range(raw, raw + raw_size - 32, 4):
                attrs, name, hmod, iat, int_ = struct.unpack_from("<IIIII", data, at)
                if attrs != 1 or not (name and hmod and iat and int_):
                    continue
                dll = self.string(name)
                if dll and dll.lower().endswith(".dll") and self.offset(iat) and self.offset(int_):
                    names.setdefault(dll.lower(), []).extend(self.thunk_names(int_))
        return names


def main():
    image = Image(open(sys.argv[1], "rb").read())
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
