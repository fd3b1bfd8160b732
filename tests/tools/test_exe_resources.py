"""usage: test_exe_resources.py <quor6.exe> <platform/toolkit.h>: the version record, tray menu
and DPI awareness read back from a built exe, the menu's ids the program's MenuCommand values."""
import re
import struct
import subprocess
import sys

MF_POPUP, MF_END = 0x10, 0x80
TEXT = re.compile(rb"((?:..)*?)\0\0", re.S)  # a zero-ended UTF-16 text
STRINGS = {"CompanyName": "None", "ProductName": "quor6", "FileVersion": "1.00.0006",
           "ProductVersion": "1.00.0006", "InternalName": "quor6", "OriginalFilename": "quor6.exe"}
COMMANDS = [("問題のリセット", "resetAnser"), ("履歴の表示", "displayrireki"),
            ("Helpの表示", "diplayHelp"), ("Version情報", "mnuAbout"), ("終了", "mnuEnd")]


def menu(data, at):
    """The items of a MENU template from at, as (flags, caption, id or items), and its end."""
    items, flags = [], 0
    while not flags & MF_END:
        flags, ident = struct.unpack_from("<HH", data, at)
        caption = TEXT.match(data, at + (2 if flags & MF_POPUP else 4))
        ident, at = menu(data, caption.end()) if flags & MF_POPUP else (ident, caption.end())
        items.append((flags & ~MF_END, caption[1].decode("utf-16-le"), ident))
    return items, at


def main(exe, toolkit):
    # The data of every resource of a type, one after the other (icoutils' wrestool).
    menus, record, manifest = (subprocess.run(["wrestool", "-x", "--raw", f"--type={kind}", exe],
                                              capture_output=True, check=True).stdout
                               for kind in (4, 16, 24))
    enum = open(toolkit, encoding="utf-8").read().split("enum class MenuCommand")[1].split("}")[0]
    ids = {name: int(number) for name, number in re.findall(r"(\w+) = (\d+)", enum)}
    history = [(0, "", i) for i in range(ids["rirekimnuFirst"], ids["rirekimnuLast"] + 1)]

    def value(key):  # what follows a key of the version record, from the next 32-bit boundary
        at = record.index(key.encode("utf-16-le") + b"\0\0") + 2 * len(key) + 2
        return record[at + -at % 4:]
    checks = {  # what was read, what is expected
        "menu": (menu(menus, 4),  # one menu, which ends the data
                 ([(MF_POPUP, "ﾒﾆｭｰ", [(0, caption, ids[name]) for caption, name in COMMANDS] +
                    [(0, "", 0), (MF_POPUP, "履歴", history)])], len(menus))),
        # Signature, file and product version 1.0.0.6, 32-bit Windows, an application.
        "fixed version": (struct.unpack_from("<I4x4I8x2I", value("VS_VERSION_INFO")),
                          (0xFEEF04BD, 0x10000, 6, 0x10000, 6, 4, 1)),
        "texts": ({key: TEXT.match(value(key))[1].decode("utf-16-le") for key in STRINGS}, STRINGS),
        "translation": (value("Translation")[:4] if "041104b0".encode("utf-16-le") in record
                        else b"", struct.pack("<HH", 0x411, 1200)),
        "DPI awareness": (re.findall(r"<dpiAware\w*[^>]*>([^<]*)<", manifest.decode("utf-8")),
                          ["true/pm", "PerMonitorV2, PerMonitor"])}
    # What differs, which fails the run, or nothing.
    return "\n".join(f"exe resources: {name}: {got}, expected {want}"
                     for name, (got, want) in checks.items() if got != want) or None


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
