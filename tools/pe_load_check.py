"""Checks, without running it, that a Windows program can be loaded and that
every function it calls through a DLL is reached:

- each import descriptor names its DLL, and each of its address-table slots
  holds the same valid name or ordinal as its name table (the loader then
  fills them all);
- each delay-load descriptor is well formed (RVA-based, a DLL name, a
  writable module handle and address table, a name table of valid names),
  and each of its slots holds, before the first call, the address of a load
  thunk in the image's code: a null slot is a call to address 0;
- no call or jump in the code goes to address 0 (a function that resolved
  to an absolute 0 at link time).

A 32-bit program is checked the same way on a machine that cannot run it.

    pe_load_check.py PROGRAM.exe...

Prints one line per program and one per fault; exits 1 when any program has
a fault.
"""
import bisect
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_image import PeError, load  # noqa: E402

OBJDUMP = {"x86": "i686-w64-mingw32-objdump", "x64": "x86_64-w64-mingw32-objdump"}
# A fault list that long says the same thing over and over.
MOST_FAULTS_SHOWN = 20


def check_imports(image, faults):
    slots = 0
    for n, (dll, lookup, iat) in enumerate(image.import_descriptors()):
        what = dll or f"import descriptor {n}"
        if not dll:
            faults.append(f"{what}: no DLL name")
        if not image.section_of(iat):
            faults.append(f"{what}: address table at rva 0x{iat:x} is outside the image")
            continue
        names = image.thunk_entries(lookup or iat)
        for i, (entry_rva, entry) in enumerate(names):
            slot_rva = iat + i * image.pointer
            slot = image.word(slot_rva)
            slots += 1
            name = image.import_name(entry)
            if name is None:
                faults.append(f"{what}: name-table entry {i} (0x{entry:x}) names no function")
            if slot is None:
                faults.append(f"{what}!{name}: slot at rva 0x{slot_rva:x} is outside the file")
            elif slot == 0:
                faults.append(f"{what}!{name}: slot at rva 0x{slot_rva:x} is null")
            elif lookup and slot != entry:
                faults.append(f"{what}!{name}: slot at rva 0x{slot_rva:x} holds 0x{slot:x}, "
                              f"its name-table entry 0x{entry:x}")
    return slots


def check_delay_imports(image, faults):
    """Returns (descriptors, slots, {slot rva}) of the delay-load tables."""
    descriptors = image.delay_descriptors()
    slot_rvas = set()
    for rva, fields in descriptors:
        attrs, name, hmod, iat, int_, bound, unload, _ = fields
        dll = image.string(name) if attrs == 1 else None
        what = dll or f"delay descriptor at rva 0x{rva:x}"
        if attrs != 1:
            faults.append(f"{what}: malformed: attributes {attrs}, not RVA-based (1)")
            continue
        if not dll or not dll.lower().endswith(".dll"):
            faults.append(f"{what}: malformed: its name is not a DLL's")
        handle = image.section_of(hmod, image.pointer)
        if not handle or not handle.writable or hmod % image.pointer:
            faults.append(f"{what}: malformed: module handle at rva 0x{hmod:x} is not a writable, aligned word")
        for label, table in (("bound", bound), ("unload", unload)):
            if table and not image.section_of(table):
                faults.append(f"{what}: malformed: {label} table at rva 0x{table:x} is outside the image")
        names = image.thunk_entries(int_)
        if not names:
            faults.append(f"{what}: malformed: empty or unreadable name table at rva 0x{int_:x}")
        table = image.section_of(iat, image.pointer * max(1, len(names)))
        if not table or not table.writable:
            faults.append(f"{what}: malformed: address table at rva 0x{iat:x} is not in a writable section")
        for i, (_, entry) in enumerate(names):
            function = image.import_name(entry)
            if function is None:
                faults.append(f"{what}: malformed: name-table entry {i} (0x{entry:x}) names no function")
            slot_rva = iat + i * image.pointer
            slot_rvas.add(slot_rva)
            slot = image.word(slot_rva)
            at = f"{what}!{function}: delay slot at 0x{image.image_base + slot_rva:x}"
            if slot is None:
                faults.append(f"{at} is outside the file")
            elif slot == 0:
                faults.append(f"{at} is null (a call through it goes to address 0)")
            elif not image.in_code(image.rva_of_address(slot)):
                faults.append(f"{at} holds 0x{slot:x}, outside the image's code")
    return len(descriptors), len(slot_rvas), slot_rvas


# objdump's lines: "  401610:\tcall   401648 <_f@8>" (with symbols),
# "  401610:\tcall   0x401648" (without), "\tcall   *0x40e13c" (indirect).
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(call|jmp)[lq]?\s+(.*)$")
DIRECT = re.compile(r"^(?:0x)?([0-9a-f]+)(?:\s|$)")


def disassembly(path, machine):
    tool = shutil.which(OBJDUMP[machine]) or shutil.which("objdump")
    if not tool:
        return None
    r = subprocess.run([tool, "-d", "-w", "--no-show-raw-insn", path],
                       capture_output=True, text=True, errors="replace")
    return r.stdout if r.returncode == 0 else None


# GCC's transactional-memory clones in libstdc++ (_ZGTt..., _txnal_...)
# call libitm through weak references, which are 0 in a program without
# libitm; nothing enters those clones outside a transaction, and the program
# has none. Every other call to address 0 is a fault.
# Mangled in the disassembly, demangled in the link map.
WEAK_CALLERS = re.compile(r"^(_*Z(GTt|\d+_txnal_)|_txnal_|transaction clone for )")
LABEL = re.compile(r"^([0-9a-f]+) <([^>]+)>:$")
# "                0x00590090                _txnal_cow_string_D1(void*)"; not
# the lines of input sections, whose second field is their size.
MAP_SYMBOL = re.compile(r"^\s+0x([0-9a-f]+)\s+(?!0x)(\S.*?)\s*$")


def symbols_of(path, text):
    """Sorted [(address, name)] of the program's functions: from the linker's
    map beside it (NAME.map, which a stripped program still has), else from
    the disassembly's labels; [] when neither names anything."""
    found = []
    map_path = os.path.splitext(path)[0] + ".map"
    if os.path.isfile(map_path):
        with open(map_path, errors="replace") as f:
            found = [(int(m.group(1), 16), m.group(2)) for m in map(MAP_SYMBOL.match, f) if m]
    if not found:
        found = [(int(m.group(1), 16), m.group(2)) for m in map(LABEL.match, text.splitlines()) if m]
    return sorted(found)


def function_at(symbols, addresses, where):
    i = bisect.bisect_right(addresses, where) - 1
    return symbols[i][1] if i >= 0 else None


def check_calls(image, path, faults):
    """Returns how many calls and jumps were read, or None without objdump."""
    text = disassembly(path, image.machine)
    if text is None:
        faults.append(f"could not disassemble the code ({OBJDUMP[image.machine]} missing or failed)")
        return None
    symbols = symbols_of(path, text)
    addresses = [a for a, _ in symbols]
    count = 0
    for line in text.splitlines():
        m = INSTRUCTION.match(line)
        if not m:
            continue
        count += 1
        where, kind, operand = int(m.group(1), 16), m.group(2), m.group(3).strip()
        # A call to an absolute 0 shows as a target of 0 on x86; on x64 the
        # 32-bit displacement cannot reach 0 from the image and wraps to an
        # address whose low 32 bits are 0. Only such targets count: data the
        # disassembler reads as code (exception tables live in .text on x86)
        # gives wild targets, but hardly ever these.
        direct = DIRECT.match(operand)
        if not direct or int(direct.group(1), 16) & 0xFFFFFFFF != 0:
            continue
        caller = function_at(symbols, addresses, where)
        if caller and WEAK_CALLERS.match(caller):
            continue
        faults.append(f"{kind} at 0x{where:x}{f' in {caller}' if caller else ''} goes to address 0 "
                      "(a function that resolved to an absolute 0)")
    return count


def check(path):
    """Faults of one program, and a line that sums up what was read."""
    faults = []
    try:
        image = load(path)
    except (OSError, PeError, ValueError) as e:
        return [f"not readable as a program: {e}"], "unreadable"
    imports = check_imports(image, faults)
    if not image.import_descriptors():
        faults.append("no import table was read")
    descriptors, slots, _ = check_delay_imports(image, faults)
    calls = check_calls(image, path, faults)
    summary = (f"{image.machine}: {imports} import slots, {descriptors} delay-load descriptors "
               f"with {slots} slots, {calls if calls is not None else 'no'} calls and jumps")
    return faults, summary


def main(paths):
    if not paths:
        print(__doc__.strip().split("\n\n")[-2])
        return 2
    failed = 0
    for path in paths:
        faults, summary = check(path)
        print(f"{'FAIL' if faults else 'ok  '} {path} ({summary})")
        for fault in faults[:MOST_FAULTS_SHOWN]:
            print(f"     {fault}")
        if len(faults) > MOST_FAULTS_SHOWN:
            print(f"     ... and {len(faults) - MOST_FAULTS_SHOWN} more")
        failed += bool(faults)
    print(f"pe_load_check: {len(paths)} programs read, {failed} with faults")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
