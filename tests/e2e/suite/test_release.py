"""The release zip a player downloads: what it holds, and that the program starts from an
unpacked copy in a folder whose path has blanks."""

import dataclasses
import shutil
import struct
import zipfile
from pathlib import Path

from game_case import GameCase

VERSION = "1.0.0.6"
README = "はじめにお読みください.txt"


def release_zip(program: Path) -> Path:
    """The zip the build made beside the program it packs."""
    matches = sorted(program.parent.glob(f"quor6-{VERSION}-win*.zip"))
    if not matches:
        raise AssertionError(f"no quor6-{VERSION}-win*.zip beside {program}")
    return matches[0]


def pe_machine(data: bytes) -> int:
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[offset:offset + 4] == b"PE\0\0", "not a PE file"
    return struct.unpack_from("<H", data, offset + 4)[0]


class ReleaseTest(GameCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.archive = release_zip(cls.config.program)
        # Unpacked once for the class, under a path with blanks in two of its folders.
        cls.unpacked = cls.config.scratch / "release check" / f"quor6 {VERSION}"
        shutil.rmtree(cls.unpacked.parent, ignore_errors=True)
        cls.unpacked.mkdir(parents=True)
        with zipfile.ZipFile(cls.archive) as archive:
            archive.extractall(cls.unpacked)
        cls.config = dataclasses.replace(cls.config, program=cls.unpacked / "quor6.exe")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.unpacked.parent, ignore_errors=True)

    def test_zip_holds_the_program_its_help_and_the_japanese_readme(self):
        with zipfile.ZipFile(self.archive) as archive:
            names = sorted(info.filename for info in archive.infolist())
            self.assertEqual(names, sorted(["quor6.exe", "quor6.hlp", "quor6.html", README]))
            readme_info = archive.getinfo(README)
            self.assertTrue(readme_info.flag_bits & 0x800, "the read-me's name is not marked UTF-8")
            readme = archive.read(README)
            exe = archive.read("quor6.exe")
            hlp = archive.read("quor6.hlp")
            page = archive.read("quor6.html")
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"), "the read-me has no UTF-8 BOM")
        text = readme[3:].decode("utf-8")
        self.assertNotIn("\n", text.replace("\r\n", ""), "the read-me has bare LF line ends")
        for topic in ("遊び方", "ヘルプの開き方", "quor6.html", "通知領域", "何も保存しません",
                      "削除"):
            self.assertIn(topic, text)
        self.assertEqual(exe[:2], b"MZ")
        expected_machine = 0x8664 if self.archive.name.endswith("win64.zip") else 0x14C
        self.assertEqual(pe_machine(exe), expected_machine)
        self.assertEqual(hlp[:4], b"\x3f\x5f\x03\x00", "quor6.hlp is not a help file")
        self.assertIn('<html lang="ja">', page.decode("utf-8"))

    def test_program_starts_from_an_unpacked_copy_in_a_path_with_blanks(self):
        self.assertIn(" ", str(self.config.program))
        program, tray = self.start_game()
        self.assert_running(program)
        self.assertEqual(self.session.guess(), "1234")
