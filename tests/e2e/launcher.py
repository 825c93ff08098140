"""Runs launchers made by the builder under Wine and reads what they leave."""
import os
import pathlib
import struct
import subprocess
import tempfile

E2E_DIR = pathlib.Path(os.environ["ORVANE_E2E_DIR"])
WINE_RUN = os.environ["ORVANE_WINE_RUN"]
VERSION = os.environ["ORVANE_VERSION"]
KIT = os.environ["ORVANE_KIT"]
BUILD_LAUNCHER = pathlib.Path(__file__).resolve().parents[2] / "tools" / "build-launcher"


def windows_path(path):
    """The path as a Windows program under Wine sees it (drive Z: is /)."""
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


class Run:
    def __init__(self, completed):
        self.code = completed.returncode
        self.stdout = completed.stdout.decode("utf-8", "replace")


def run(launcher, *args, timeout=120, locale=None):
    """Runs E2E_DIR/<launcher>.exe with args; a hanging launcher (a message
    box nobody answers) fails the test through the timeout. locale sets the
    user's language as Wine reports it (for example "de_DE.UTF-8")."""
    exe = E2E_DIR / f"{launcher}.exe"
    env = dict(os.environ)
    if locale:
        env.update(LANG=locale, LC_ALL=locale)
    completed = subprocess.run([WINE_RUN, str(exe), *args], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, timeout=timeout, cwd=tempfile.gettempdir(), env=env)
    return Run(completed)


def read_log(path):
    data = pathlib.Path(path).read_bytes()
    return data, data.decode("utf-16-le")


class PeFile:
    """The headers of a PE file and the mapping of its RVAs to file offsets."""

    def __init__(self, path):
        self.data = data = pathlib.Path(path).read_bytes()
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        self.machine, self.sections = struct.unpack_from("<HH", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        self.directories = optional + (96 if self.magic == 0x10B else 112)
        self.table = optional + optional_size

    def directory(self, index):
        return struct.unpack_from("<I", self.data, self.directories + 8 * index)[0]

    def offset(self, rva):
        for i in range(self.sections):
            size, address, raw_size, raw = struct.unpack_from("<IIII", self.data, self.table + 40 * i + 8)
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise ValueError(f"RVA {rva:#x} is in no section")


def pe_header(path):
    """Machine, optional-header magic, subsystem and imported DLL names of a PE file."""
    pe = PeFile(path)
    dlls = []
    import_rva = pe.directory(1)
    entry = pe.offset(import_rva) if import_rva else None
    while entry is not None:
        name_rva = struct.unpack_from("<I", pe.data, entry + 12)[0]
        if name_rva == 0:
            break
        start = pe.offset(name_rva)
        dlls.append(pe.data[start:pe.data.index(b"\0", start)].decode("ascii").lower())
        entry += 20
    return {"machine": pe.machine, "magic": pe.magic, "subsystem": pe.subsystem, "dlls": dlls}


def pe_resources(path):
    """All resources of a PE file: {(type, name, language): bytes}. Types and
    names are ints or upper-case strings, as the resource directory holds them."""
    pe = PeFile(path)
    data = pe.data
    base = pe.offset(pe.directory(2))

    def entries(directory):
        named, ids = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
            if key & 0x80000000:
                length = struct.unpack_from("<H", data, base + (key & 0x7FFFFFFF))[0]
                start = base + (key & 0x7FFFFFFF) + 2
                key = data[start:start + 2 * length].decode("utf-16-le")
            yield key, target

    found = {}
    for rtype, t in entries(0):
        for name, n in entries(t & 0x7FFFFFFF):
            for lang, leaf in entries(n & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found[(rtype, name, lang)] = data[pe.offset(rva):pe.offset(rva) + size]
    return found


def catalogue(path):
    """The type-40 resources of a launcher: {(name, language): bytes}."""
    return {(name, lang): value for (rtype, name, lang), value in pe_resources(path).items() if rtype == 40}


def text_of(value):
    """A catalogue text: UTF-16LE up to its terminating zero, which must be there."""
    assert value.endswith(b"\0\0") and len(value) % 2 == 0, value
    return value[:-2].decode("utf-16-le")
