"""usage: test_exe_resources.py <quor6.exe> <platform/toolkit.h>: the version record and the
tray menu read back from a built exe, its command ids the MenuCommand values the program uses."""

import re
import struct
import sys

RT_MENU, RT_VERSION, MF_POPUP, MF_END = 4, 16, 0x10, 0x80
VERSION = {"CompanyName": "None", "ProductName": "quor6", "FileVersion": "1.00.0006",
           "ProductVersion": "1.00.0006", "InternalName": "quor6",
           "OriginalFilename": "quor6.exe"}
COMMANDS = [("問題のリセット", "resetAnser"), ("履歴の表示", "displayrireki"),
            ("Helpの表示", "diplayHelp"), ("Version情報", "mnuAbout"), ("終了", "mnuEnd")]


def resources(exe):
    """{(type, id): data} of the first language of every resource."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    assert exe[pe:pe + 4] == b"PE\0\0", "not a PE image"
    count, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    table = pe + 24 + optional_size
    directories = pe + 24 + (96 if struct.unpack_from("<H", exe, pe + 24)[0] == 0x10B else 112)
    sections = [struct.unpack_from("<IIxxxxI", exe, table + 40 * i + 8) for i in range(count)]

    def offset(rva):
        return next(rva - at + raw for size, at, raw in sections if 0 <= rva - at < size)

    root = offset(struct.unpack_from("<I", exe, directories + 16)[0])

    def entries(at):
        named, numbered = struct.unpack_from("<HH", exe, root + at + 12)
        return [struct.unpack_from("<II", exe, root + at + 16 + 8 * i)
                for i in range(named + numbered)]

    found = {}
    for kind, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            language = entries(languages & 0x7FFFFFFF)[0][1]
            data, size = struct.unpack_from("<II", exe, root + language)
            found[kind, name] = exe[offset(data):offset(data) + size]
    return found


def text(data, at):
    """A zero-ended UTF-16 text and where it ends."""
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
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


def version(data, at=0, path=""):
    """The version record's nodes by their path of keys: texts decoded, binary values raw."""
    length, size, is_text = struct.unpack_from("<HHH", data, at)
    key, value_at = text(data, at + 6)
    value_at += -value_at % 4
    value = data[value_at:value_at + size * (2 if is_text else 1)]
    nodes = {path + key: value.decode("utf-16-le").rstrip("\0") if is_text else value}
    child = value_at + len(value)
    while child + -child % 4 < at + length:
        child += -child % 4
        nodes.update(version(data, child, path + key + "/"))
        child += struct.unpack_from("<H", data, child)[0]
    return nodes


def main(exe_path, toolkit_path):
    enum = open(toolkit_path, encoding="utf-8").read().split("enum class MenuCommand")[1]
    ids = {name: int(value) for name, value in re.findall(r"(\w+) = (\d+)", enum.split("}")[0])}
    history = [(0, "", i) for i in range(ids["rirekimnuFirst"], ids["rirekimnuLast"] + 1)]
    found = resources(open(exe_path, "rb").read())
    nodes = version(found[RT_VERSION, 1])
    fixed = struct.unpack_from("<13I", nodes.pop("VS_VERSION_INFO"))
    read = {"menus": [menu(data, 4)[0] for (kind, _), data in found.items() if kind == RT_MENU],
            "fixed": fixed[:1] + fixed[2:6] + fixed[8:10],
            "strings": {key: value for key, value in nodes.items() if value}}
    expected = {
        "menus": [[(MF_POPUP, "ﾒﾆｭｰ", [(0, caption, ids[name]) for caption, name in COMMANDS] +
                    [(0, "", 0), (MF_POPUP, "履歴", history)])]],
        # Signature, file and product version 1.0.0.6, 32-bit Windows, an application.
        "fixed": (0xFEEF04BD, 0x10000, 6, 0x10000, 6, 4, 1),
        "strings": {"VS_VERSION_INFO/VarFileInfo/Translation": struct.pack("<HH", 0x411, 1200),
                    **{"VS_VERSION_INFO/StringFileInfo/041104b0/" + key: value
                       for key, value in VERSION.items()}}}
    faults = [f"{key}: {read[key]}, expected {expected[key]}"
              for key in expected if read[key] != expected[key]]
    print("".join(f"exe resources: {fault}\n" for fault in faults), end="")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
