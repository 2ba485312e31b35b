"""The program's import table: a DLL loaded at start, before the program
can restrict the search path, must be a KnownDLL on every supported Windows
(the loader takes those from System32 only). Every other DLL is
delay-loaded, so it is loaded after the restriction, from System32.

    test_imports.py PROGRAM.exe
"""
import struct
import sys

# KnownDLLs of Windows 7 and of every later Windows.
ALLOWED = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
           "shell32.dll", "user32.dll"}
# Not KnownDLLs everywhere (gdiplus is one only since Windows 8, comctl32
# never is), and used by the program: these must be delay-loaded.
DELAYED = {"winmm.dll", "wininet.dll", "gdiplus.dll", "comctl32.dll"}


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        sections = struct.unpack_from("<H", data, pe + 6)[0]
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
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

    def static_imports(self):
        names = []
        at = self.offset(self.imports_rva)
        while at is not None:
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, at)
            if name == 0 and iat == 0:
                break
            names.append(self.string(name).lower())
            at += 20
        return names

    def delay_imports(self):
        """DLL names of the delay-load descriptors (ImgDelayDescr, RVA-based:
        attributes 1, then the RVAs of the name, the module handle, the IAT
        and the name table). GNU ld leaves the data directory entry empty, so
        the descriptors are found by their shape."""
        names = set()
        data = self.data
        for start, size, raw, raw_size in self.sections:
            for at in range(raw, raw + raw_size - 32, 4):
                attrs, name, hmod, iat, int_ = struct.unpack_from("<IIIII", data, at)
                if attrs != 1 or not (name and hmod and iat and int_):
                    continue
                dll = self.string(name)
                if dll and dll.lower().endswith(".dll") and self.offset(iat) and self.offset(int_):
                    names.add(dll.lower())
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
    for f in failures:
        print("FAIL", f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
