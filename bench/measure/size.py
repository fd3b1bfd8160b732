"""The product's size and the DLLs it imports, from the PE headers (objdump -p)."""

import os
import re
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import List

OBJDUMP = "i686-w64-mingw32-objdump"

# DLLs that every Windows installation has in its system directory.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "version.dll",
    "winmm.dll",
}


@dataclass(frozen=True)
class ExeFacts:
    path: Path
    size: int
    pe_format: str  # "PE32" or "PE32+"
    machine: str  # objdump's file format, e.g. pei-i386
    dlls: List[str]

    @property
    def foreign_dlls(self) -> List[str]:
        return [dll for dll in self.dlls if dll.lower() not in SYSTEM_DLLS]


def inspect(path: Path) -> ExeFacts:
    # objdump translates its headings; the patterns below are for the English ones.
    english = {**os.environ, "LC_ALL": "C"}
    dump = subprocess.run([OBJDUMP, "-p", str(path)], capture_output=True, text=True,
                          check=True, env=english).stdout
    machine = re.search(r"file format (\S+)", dump)
    magic = re.search(r"^Magic\s+(\w+)", dump, re.MULTILINE)
    pe_format = {"010b": "PE32", "020b": "PE32+"}.get(magic.group(1) if magic else "", "unknown")
    dlls = re.findall(r"DLL Name: (\S+)", dump)
    return ExeFacts(path, path.stat().st_size, pe_format, machine.group(1) if machine else "?", dlls)
