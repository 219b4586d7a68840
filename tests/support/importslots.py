#!/usr/bin/python3
"""Import slots a PE program calls through and nobody fills.

  importslots.py <program.exe>

Reads the program's headers itself and takes from objdump -d (the MinGW-w64
one of the program's processor) only the instructions that call or jump
through a memory slot, or load one into a register (`call *ADDR`, `jmp *ADDR`,
`mov ADDR,%reg`; on x86-64 the same with `disp(%rip)`). A slot inside the import area (the import address table range,
a delay-import address table, a section .idata* or .didat*) is sound when the
loader fills it (it lies in an import descriptor's FirstThunk array, up to that
descriptor's terminating entry) or when the file already holds an address
inside the image there (a delay-load thunk). Any other slot holds whatever the
file holds, usually 0, and the first call through it jumps there.

Prints one line per unsound slot and a summary line; exits 1 when a slot is
unsound, 2 when the program cannot be read.
"""
import os
import re
import struct
import subprocess
import sys


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        machine, nsec, _, symptr, nsym, optsize = struct.unpack_from("<HHIIIH", data, pe + 4)
        if machine not in (0x14C, 0x8664):
            raise ValueError("neither i386 nor x86-64 (machine 0x%x)" % machine)
        self.objdump = ("i686" if machine == 0x14C else "x86_64") + "-w64-mingw32-objdump"
        opt = pe + 24
        self.wide = struct.unpack_from("<H", data, opt)[0] == 0x20B
        self.ptr = 8 if self.wide else 4
        self.base = struct.unpack_from("<Q" if self.wide else "<I", data, opt + 24 if self.wide else opt + 28)[0]
        self.size = struct.unpack_from("<I", data, opt + 56)[0]
        ndirs = struct.unpack_from("<I", data, opt + (108 if self.wide else 92))[0]
        dirs = opt + (112 if self.wide else 96)
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) if i < ndirs else (0, 0) for i in range(16)]
        self.sections = []
        for i in range(nsec):
            s = opt + optsize + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((self.section_name(data[s:s + 8], symptr, nsym), va, max(vsize, rawsize), rawptr, rawsize))
        self.symptr, self.nsym = symptr, nsym

    def section_name(self, raw, symptr, nsym):
        name = raw.rstrip(b"\0").decode("latin-1")
        if name.startswith("/") and name[1:].isdigit() and symptr:  # long names live in the string table
            return self.cstring(symptr + 18 * nsym + int(name[1:]))
        return name

    def cstring(self, off):
        end = self.data.find(b"\0", off)
        return self.data[off:end].decode("latin-1") if off < len(self.data) and end >= 0 else ""

    def offset(self, rva):
        for _, va, span, rawptr, rawsize in self.sections:
            if va <= rva < va + span:
                return rawptr + rva - va if rva - va < rawsize else None
        return None

    def word(self, rva, size=None):
        size = size or self.ptr
        off = self.offset(rva)
        if off is None or off + size > len(self.data):
            return 0
        return int.from_bytes(self.data[off:off + size], "little")

    def name_at(self, rva):
        """The function named by a hint/name entry at rva, or None."""
        off = self.offset(rva + 2) if 0 < rva < self.size else None
        name = self.cstring(off) if off is not None else ""
        return name if re.fullmatch(r"[A-Za-z_?@$][\w?@$]*", name) else None

    def thunk_name(self, entry):
        if entry >> (self.ptr * 8 - 1):
            return "ordinal %d" % (entry & 0xFFFF)
        return self.name_at(entry & 0x7FFFFFFF)

    def symbols(self):
        """Import-pointer symbols of an unstripped program: rva -> function."""
        found = {}
        strings = self.symptr + 18 * self.nsym
        i = 0
        while self.symptr and i < self.nsym:
            raw, value, secnum, _, _, naux = struct.unpack_from("<8sIhHBB", self.data, self.symptr + 18 * i)
            if raw[:4] == b"\0\0\0\0":
                name = self.cstring(strings + struct.unpack_from("<I", raw, 4)[0])
            else:
                name = raw.rstrip(b"\0").decode("latin-1")
            if name.startswith("__imp_") and 0 < secnum <= len(self.sections):
                name = name[7:] if name.startswith("__imp__") and not self.wide else name[6:]
                found[self.sections[secnum - 1][1] + value] = name.split("@")[0]
            i += 1 + naux
        return found


def examine(img):
    """(import area ranges, loader-filled slots, (address table, lookup table) pairs)."""
    areas = [(va, va + span) for name, va, span, _, _ in img.sections if name.startswith((".idata", ".didat"))]
    iat_rva, iat_size = img.dirs[12]
    if iat_size:
        areas.append((iat_rva, iat_rva + iat_size))
    filled, tables = set(), []
    rva, size = img.dirs[1]
    while size and img.offset(rva) is not None:
        lookup, _, _, _, first = struct.unpack_from("<IIIII", img.data, img.offset(rva))
        if not (lookup or first):
            break
        tables.append((first, lookup or first))
        i = 0
        while img.word((lookup or first) + i * img.ptr):
            filled.add(first + i * img.ptr)
            i += 1
        rva += 20
    rva, size = img.dirs[13]
    while size and img.offset(rva) is not None:
        attrs, dll, _, iat, names_rva = struct.unpack_from("<IIIII", img.data, img.offset(rva))
        if not dll:
            break
        if not attrs & 1:  # the oldest descriptors hold addresses, not RVAs
            iat, names_rva = iat - img.base, names_rva - img.base
        tables.append((iat, names_rva))
        i = 0
        while img.word(names_rva + i * img.ptr):
            i += 1
        areas.append((iat, iat + i * img.ptr))
        rva += 32
    return areas, filled, sorted(tables)


def slot_name(img, slot, tables, symbols):
    # A stripped program's slot outside every listed array is named by the
    # lookup entry at the same distance from the nearest array below it: the
    # linker lays the lookup and address tables out in the same order.
    if slot in symbols:
        return symbols[slot]
    below = [t for t in tables if t[0] <= slot]
    if below:
        first, lookup = below[-1]
        if first != lookup:
            return img.thunk_name(img.word(lookup + slot - first))
    return None


# "call *0x4684e4", "jmp *0x6f62(%rip)  # 1400081c0 <...>", "mov 0x468598,%esi";
# not an indexed operand, an immediate or a store.
INSN = re.compile(r"^\s*[0-9a-f]+:\s+(?:\S+ )*?(?:(?:call|jmp)[lq]?\s+\*|mov[lq]?\s+(?=.*,%))"
                  r"(?:0x([0-9a-f]+)|-?0x[0-9a-f]+\(%rip\)\S*\s+#\s*(?:0x)?([0-9a-f]+))(?:,|\s|$)")


def used_slots(objdump, path):
    """Addresses the code calls, jumps through, or loads a pointer from."""
    out = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], capture_output=True, text=True, check=True).stdout
    return {int(m.group(1) or m.group(2), 16) for m in map(INSN.match, out.splitlines()) if m}


def main():
    path = sys.argv[1]
    prog = os.path.basename(path)
    try:
        img = Image(open(path, "rb").read())
        used = used_slots(img.objdump, path)
    except (OSError, ValueError, struct.error, subprocess.SubprocessError) as e:
        print("%s: cannot read: %s" % (prog, e))
        return 2
    areas, filled, tables = examine(img)
    symbols = img.symbols()
    through, bad = 0, 0
    for addr in sorted(used):
        slot = addr - img.base
        if not any(lo <= slot < hi for lo, hi in areas):
            continue
        through += 1
        value = img.word(slot)
        if slot in filled or img.base <= value < img.base + img.size:
            continue
        bad += 1
        name = slot_name(img, slot, tables, symbols) or "?"
        print("%s: slot 0x%x (%s) holds 0x%x and no import descriptor lists it" % (prog, addr, name, value))
    print("%s: %d slots called through, %d neither imported nor pre-set" % (prog, through, bad))
    if through == 0:
        print("%s: no call through an import slot found; the disassembly was not understood" % prog)
        return 2
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
