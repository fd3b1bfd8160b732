"""usage: test_exe_resources.py <quor6.exe> <platform/toolkit.h>: the version record, the tray
menu and the DPI awareness read back from a built exe, the menu's ids the MenuCommand values the
program uses."""
import re
import struct
import subprocess
import sys

MF_POPUP, MF_END = 0x10, 0x80
STRINGS = {"CompanyName": "None", "ProductName": "quor6", "FileVersion": "1.00.0006",
           "ProductVersion": "1.00.0006", "InternalName": "quor6", "OriginalFilename": "quor6.exe"}
COMMANDS = [("問題のリセット", "resetAnser"), ("履歴の表示", "displayrireki"),
            ("Helpの表示", "diplayHelp"), ("Version情報", "mnuAbout"), ("終了", "mnuEnd")]


def resources(exe, kind):
    """The data of every resource of a type, one after the other (icoutils' wrestool)."""
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={kind}", exe], capture_output=True,
                          check=True).stdout


def text(data, at):
    """A zero-ended UTF-16 text and where it ends."""
    end = next(end for end in range(at, len(data), 2) if data[end:end + 2] == b"\0\0")
    return data[at:end].decode("utf-16-le"), end + 2


def menu(data, at):
    """The items of a MENU template from at, as (flags, caption, id or items), and its end."""
    items, flags = [], 0
    while not flags & MF_END:
        flags, ident = struct.unpack_from("<HH", data, at)
        caption, at = text(data, at + (2 if flags & MF_POPUP else 4))
        if flags & MF_POPUP:
            ident, at = menu(data, at)
        items.append((flags & ~MF_END, caption, ident))
    return items, at


def value(data, key):
    """What follows a key of a version record, from the next 32-bit boundary."""
    at = data.index(key.encode("utf-16-le") + b"\0\0") + 2 * len(key) + 2
    return data[at + -at % 4:]


def main(exe, toolkit):
    enum = open(toolkit, encoding="utf-8").read().split("enum class MenuCommand")[1].split("}")[0]
    ids = {name: int(number) for name, number in re.findall(r"(\w+) = (\d+)", enum)}
    record = resources(exe, 16)
    fixed = struct.unpack_from("<13I", value(record, "VS_VERSION_INFO"))
    history = [(0, "", i) for i in range(ids["rirekimnuFirst"], ids["rirekimnuLast"] + 1)]
    menus = resources(exe, 4)
    items, end = menu(menus, 4)
    read = [(items, menus[end:]),  # one menu: nothing after its end
            fixed[:1] + fixed[2:6] + fixed[8:10],
            {key: text(value(record, key), 0)[0] for key in STRINGS},
            value(record, "Translation")[:4] if "041104b0".encode("utf-16-le") in record else b"",
            re.findall(r"<dpiAware\w*[^>]*>([^<]*)<", resources(exe, 24).decode("utf-8"))]
    expected = [([(MF_POPUP, "ﾒﾆｭｰ", [(0, caption, ids[name]) for caption, name in COMMANDS] +
                   [(0, "", 0), (MF_POPUP, "履歴", history)])], b""),
                # Signature, file and product version 1.0.0.6, 32-bit Windows, an application.
                (0xFEEF04BD, 0x10000, 6, 0x10000, 6, 4, 1),
                STRINGS, struct.pack("<HH", 0x411, 1200), ["true/pm", "PerMonitorV2, PerMonitor"]]
    for name, got, want in zip(["menu", "fixed version", "texts", "translation", "DPI awareness"],
                               read, expected):
        print(f"exe resources: {name}: {got}, expected {want}\n" if got != want else "", end="")
    return 0 if read == expected else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
