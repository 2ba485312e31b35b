"""A read-only view of a PE image (a Windows .exe) as the loader will see it:
headers, sections, the import table and the delay-load descriptors, read
from the file without running it.

RVAs are offsets from the image base; the file keeps pointer-sized values
(the delay-load slots) as addresses at the preferred image base, which the
base relocations move as a whole.
"""
import re
import struct

IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000
MACHINES = {0x14C: "x86", 0x8664: "x64"}
# Directory entries of the optional header.
DIR_IMPORT, DIR_IAT, DIR_DELAY_IMPORT = 1, 12, 13


class PeError(Exception):
    pass


class Section:
    def __init__(self, name, rva, size, raw, raw_size, flags):
        self.name, self.rva, self.size, self.raw, self.raw_size, self.flags = name, rva, size, raw, raw_size, flags

    def holds(self, rva, length=1):
        return self.rva <= rva and rva + length <= self.rva + self.size

    @property
    def executable(self):
        return bool(self.flags & IMAGE_SCN_MEM_EXECUTE)

    @property
    def writable(self):
        return bool(self.flags & IMAGE_SCN_MEM_WRITE)


class Image:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PeError("not an MZ file")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        machine, sections = struct.unpack_from("<HH", data, pe + 4)
        self.machine = MACHINES.get(machine)
        if not self.machine:
            raise PeError(f"machine 0x{machine:04x} is neither x86 nor x64")
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pe64 = magic == 0x20B
        if self.pe64 != (self.machine == "x64"):
            raise PeError(f"optional header 0x{magic:x} does not fit machine {self.machine}")
        self.pointer = 8 if self.pe64 else 4
        self.image_base = struct.unpack_from("<Q", data, optional + 24)[0] if self.pe64 else \
            struct.unpack_from("<I", data, optional + 28)[0]
        self.image_size = struct.unpack_from("<I", data, optional + 56)[0]
        directories = optional + (112 if self.pe64 else 96)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) if i < count else (0, 0)
                            for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            s = table + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("ascii", "replace")
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, s + 8)
            flags = struct.unpack_from("<I", data, s + 36)[0]
            self.sections.append(Section(name, rva, max(size, raw_size), raw, raw_size, flags))

    # --- addresses -------------------------------------------------------

    def section_of(self, rva, length=1):
        return next((s for s in self.sections if s.holds(rva, length)), None)

    def offset(self, rva, length=1):
        """File offset of `length` bytes at `rva`, or None where the file holds
        no bytes for them (outside every section, or in its zero-filled tail)."""
        s = self.section_of(rva, length)
        if s is None or rva - s.rva + length > s.raw_size:
            return None
        return s.raw + rva - s.rva

    def rva_of_address(self, address):
        return address - self.image_base

    def in_code(self, rva):
        s = self.section_of(rva)
        return s is not None and s.executable

    def u32(self, rva):
        at = self.offset(rva, 4)
        return None if at is None else struct.unpack_from("<I", self.data, at)[0]

    def word(self, rva):
        """A pointer-sized value at `rva`, or None."""
        at = self.offset(rva, self.pointer)
        if at is None:
            return None
        return struct.unpack_from("<Q" if self.pe64 else "<I", self.data, at)[0]

    def string(self, rva, limit=260):
        at = self.offset(rva)
        if at is None:
            return None
        end = self.data.find(b"\0", at, at + limit)
        if end <= at:
            return None
        text = self.data[at:end]
        return text.decode("ascii") if all(32 < b < 127 for b in text) else None

    # --- import name tables ----------------------------------------------

    def thunk_entries(self, rva, limit=100000):
        """The entries of a name table (or an unbound address table) up to its
        null terminator: [(rva of the entry, value)]. Stops short where the
        table runs out of the file."""
        entries = []
        while rva and len(entries) < limit:
            value = self.word(rva)
            if value is None or value == 0:
                break
            entries.append((rva, value))
            rva += self.pointer
        return entries

    def ordinal_flag(self):
        return 1 << 63 if self.pe64 else 1 << 31

    def import_name(self, entry):
        """The function an import name-table entry names: '#N' for an
        ordinal, the name for a hint/name entry, None when it is neither."""
        if entry & self.ordinal_flag():
            return f"#{entry & 0xFFFF}"
        if entry >> 31:
            return None
        return self.string(entry + 2)

    def thunk_names(self, rva):
        """Function names of an import name table (ordinals left out)."""
        names = (self.import_name(v) for _, v in self.thunk_entries(rva))
        return [n for n in names if n and not n.startswith("#")]

    # --- the import table ------------------------------------------------

    def import_descriptors(self):
        """[(dll, name table rva, address table rva)] of the import table."""
        found = []
        rva = self.directories[DIR_IMPORT][0]
        while rva:
            at = self.offset(rva, 20)
            if at is None:
                break
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, at)
            if name == 0 and iat == 0:
                break
            found.append((self.string(name), lookup, iat))
            rva += 20
        return found

    def static_functions(self):
        """{dll: [function, ...]} of the import table."""
        dlls = {}
        for dll, lookup, iat in self.import_descriptors():
            dlls.setdefault((dll or "?").lower(), []).extend(self.thunk_names(lookup or iat))
        return dlls

    def static_imports(self):
        return list(self.static_functions())

    # --- delay-load descriptors ------------------------------------------

    def delay_descriptors(self):
        """[(rva, (attributes, name, module handle, address table, name table,
        bound table, unload table, time stamp))] of every delay-load
        descriptor. The GNU linker leaves the directory entry empty; where it
        is, the descriptors are found by their shape."""
        start, size = self.directories[DIR_DELAY_IMPORT]
        records = []
        if start:
            rva = start
            while True:
                at = self.offset(rva, 32)
                if at is None:
                    break
                fields = struct.unpack_from("<8I", self.data, at)
                if not any(fields):
                    break
                records.append((rva, fields))
                rva += 32
            return records
        # Two ways in, so that a descriptor broken in one field is still
        # found and judged: a field that points at a "*.dll" string, and a
        # field that points at a name table of functions.
        data = self.data
        wanted = {}  # field value -> where the record starts relative to it
        for m in re.finditer(rb"[\x21-\x7e]+\.dll\0", data, re.IGNORECASE):
            s = self.section_of_offset(m.start())
            if s is None:
                continue
            # The run may begin with bytes that are not the name's own.
            for start in range(max(m.start(), m.end() - 64), m.end() - 5):
                name = s.rva + start - s.raw
                wanted.setdefault(name, set()).add(-4)
                if not self.pe64:
                    wanted.setdefault(name + self.image_base, set()).add(-4)
        for table in self._name_tables():
            wanted.setdefault(table, set()).add(-16)
        candidates = set()
        words = memoryview(data)[:len(data) // 4 * 4].cast("I")
        for i, value in enumerate(words):
            if value in wanted:
                candidates.update(4 * i + back for back in wanted[value])
        imports = self.directories[DIR_IMPORT][0]
        inside_imports = range(imports, imports + 20 * (len(self.import_descriptors()) + 1))
        found = []  # (strength, rva, fields)
        for record in sorted(candidates):
            if record < 0 or record + 32 > len(data):
                continue
            fields = struct.unpack_from("<8I", data, record)
            s = self.section_of_offset(record)
            strength = self._delay_descriptor_shape(fields) if s else 0
            rva = s.rva + record - s.raw if s else 0
            if strength and not any(r in inside_imports for r in range(rva, rva + 32, 4)):
                found.append((strength, rva, fields))
        # A record shifted by a field or two against a sound descriptor
        # looks half like one: the better of two overlapping records wins.
        for strength, rva, fields in sorted(found, key=lambda f: -f[0]):
            if all(abs(rva - kept) >= 32 for kept, _ in records):
                records.append((rva, fields))
        return sorted(records)

    def section_of_offset(self, at):
        return next((s for s in self.sections if s.raw <= at < s.raw + s.raw_size), None)

    def _name_tables(self):
        """RVAs where a run of hint/name entries (a name table) begins."""
        tables = []
        form = "<Q" if self.pe64 else "<I"
        # The GNU linker keeps them beside the import directory's own.
        home = self.section_of(self.directories[DIR_IMPORT][0])
        for s in [home] if home else []:
            previous_named = False
            for at in range(s.raw, s.raw + s.raw_size - self.pointer + 1, self.pointer):
                value = struct.unpack_from(form, self.data, at)[0]
                named = 0 < value < self.image_size and self.import_name(value) is not None
                if named and not previous_named:
                    tables.append(s.rva + at - s.raw)
                previous_named = named
        return tables

    def _delay_descriptor_shape(self, fields):
        """How much a record looks like a delay-load descriptor: 0 not at all;
        judged loosely, so that a broken one is found too. Its handle and
        its tables must be three places in the image, its bound and unload
        tables none or in the image; then 2 when its name field names a DLL
        and its name table lists a function, 1 for one of the two.
        Attributes 0 (the old kind) keep addresses where 1 keeps RVAs."""
        attrs, name, hmod, iat, int_ = fields[:5]
        base = self.image_base if attrs == 0 and not self.pe64 and name > self.image_base else 0
        if not (hmod and iat and int_) or min(hmod, iat, int_) < base:
            return 0
        if not all(self.section_of(v - base) for v in (hmod, iat, int_)) or len({hmod, iat, int_}) < 3:
            return 0
        bound, unload = fields[5:7]
        if any(v and (v < base or not self.section_of(v - base)) for v in (bound, unload)):
            return 0
        named = name >= base and (self.string(name - base) or "").lower().endswith(".dll")
        first = self.thunk_entries(int_ - base, limit=1)
        listed = bool(first) and self.import_name(first[0][1]) is not None and attrs < 0x100
        return named + listed

    def delay_functions(self):
        """{dll: [function, ...]} of the delay-load descriptors."""
        names = {}
        for _, fields in self.delay_descriptors():
            attrs, name, _, _, int_ = fields[:5]
            if attrs != 1:
                continue
            dll = self.string(name)
            if dll:
                names.setdefault(dll.lower(), []).extend(self.thunk_names(int_))
        return names

    def delay_imports(self):
        return set(self.delay_functions())


def load(path):
    with open(path, "rb") as f:
        return Image(f.read())
