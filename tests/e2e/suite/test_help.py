"""The release zip, and help from it unpacked in a path with blanks: the viewer on quor6.hlp; a
box where neither it nor a browser starts; the browser for the Windows 10 stub. Play goes on."""

import dataclasses
import shutil
import struct
import subprocess
import urllib.parse
import zipfile
from pathlib import Path

from harness import processes
from harness.game import GameCase, tray_of_guess
from harness.player import LEFT
from harness.polling import wait_until

VERSION = "1.0.0.6"
README = "はじめにお読みください.txt"
HELP_FAILED_TEXT = ("ヘルプを開けませんでした。ヘルプ ビューア (Winhlp32.exe) も、"
                    "quor6.html を表示するブラウザーも起動できませんでした。\n"
                    "ゲームはそのまま続けられます。")


class HelpTest(GameCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.archive = min(cls.config.program.parent.glob(f"quor6-{VERSION}-win*.zip"))
        cls.unpacked = cls.config.scratch / "release check" / f"quor6 {VERSION}"
        shutil.rmtree(cls.unpacked.parent, ignore_errors=True)
        with zipfile.ZipFile(cls.archive) as archive:
            archive.extractall(cls.unpacked)
        cls.config = dataclasses.replace(cls.config, program=cls.unpacked / "quor6.exe")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.unpacked.parent, ignore_errors=True)

    def test_the_zip_holds_the_program_its_help_and_a_japanese_readme(self):
        with zipfile.ZipFile(self.archive) as archive:
            self.assertTrue(archive.getinfo(README).flag_bits & 0x800, "name not marked UTF-8")
            files = {name: archive.read(name) for name in archive.namelist()}
        self.assertEqual(sorted(files), sorted(["quor6.exe", "quor6.hlp", "quor6.html", README]))
        readme, exe = files[README].decode("utf-8"), files["quor6.exe"]
        self.assertRegex(readme, "^\ufeff[^\n]*(\r\n[^\n]*)*$", "a BOM and CR LF line ends")
        for topic in ("遊び方", "ヘルプの開き方", "quor6.html", "通知領域", "何も保存しません", "削除"):
            self.assertIn(topic, readme)
        pe = struct.unpack_from("<I", exe, 0x3C)[0]
        self.assertEqual((exe[:2], exe[pe:pe + 4], struct.unpack_from("<H", exe, pe + 4)[0]),
                         (b"MZ", b"PE\0\0", 0x8664 if "win64" in self.archive.name else 0x14C))
        self.assertEqual(files["quor6.hlp"][:4], b"\x3f\x5f\x03\x00", "not a help file")
        self.assertIn('<html lang="ja">', files["quor6.html"].decode("utf-8"))

    def help_viewers(self):
        windows = self.session.prefix / "drive_c" / "windows"
        return [viewer for folder in (windows, windows / "system32", windows / "syswow64")
                if folder.is_dir() for viewer in folder.iterdir()
                if viewer.name.lower() == "winhlp32.exe"]

    def command_lines(self):
        """As Wine shows a Windows program's: split as the C runtime would (at blanks)."""
        paths = [Path(f"/proc/{pid}/cmdline") for pid in processes.pids_of_session(
            self.session.directory)]
        return [[part for part in path.read_text().split("\0") if part] for path in paths
                if path.exists()]

    def set_registry(self, text: str) -> None:
        script = self.session.directory / "settings.reg"
        script.write_text("REGEDIT4\n\n" + text, encoding="ascii")
        self.session.run_wine("regedit", "/S", "Z:" + str(script).replace("/", "\\"))

    def assert_plays_on(self, following: str) -> None:
        """Help changed nothing, and the icons still answer."""
        state = self.session.state()
        self.assertEqual((state.values["visible"], state.lines("store")), ("0", []))
        self.assertFalse(self.session.probe.run("msgbox").ok, "a message box is up")
        self.player.click(self.tray, 4, LEFT)
        self.session.wait_tray(self.tray, tray_of_guess(following))
        self.assert_running()

    def test_the_viewer_opens_quor6_hlp_else_a_box_says_so_and_for_the_stub_a_browser(self):
        self.start_game()
        self.player.click(self.tray, 4, LEFT)
        self.session.wait_guess("1235")
        self.choose("Helpの表示")
        viewer = wait_until(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^quor6 ヘルプ"], env=self.session.env,
            capture_output=True).stdout.split(), bool, 'a window "quor6 ヘルプ..."')
        # "Winhlp32.exe <folder>\quor6.hlp" without quotes: Wine splits it at every blank.
        help_file = "Z:" + str(self.config.program.parent / "quor6.hlp").replace("/", "\\")
        self.assertIn(["Winhlp32.exe"] + help_file.split(" "), self.command_lines())
        # The viewer opens over the tray; the player moves it aside to go on playing.
        self.player.xdotool("windowmove", "--sync", viewer[0].decode(), "500", "400")
        self.assert_plays_on("1236")

        viewers = self.help_viewers()
        self.assertTrue(viewers, "no winhlp32.exe in the prefix")
        for viewer in viewers:
            viewer.unlink()
        self.set_registry("[-HKEY_CLASSES_ROOT\\.html]\n")  # nothing opens pages either
        self.choose("Helpの表示")
        box = self.message_box()
        self.assertEqual((box["title"], box["text"], box["buttons"]),
                         ("quor6", HELP_FAILED_TEXT, "1:OK"))
        self.dismiss_message_box()
        self.assert_plays_on("1237")

        # Wine's shell hands .html files to winebrowser, which passes them as file URLs to the
        # first program of its browser list: here a recorder of its arguments. Wine would load
        # its own viewer for a winhlp32.exe of the system directory unless told not to.
        for viewer in viewers:
            shutil.copyfile(self.config.probe.parent / "help_viewer_stub.exe", viewer)
        received, recorder = (self.session.directory / name for name in ("page", "browser.sh"))
        recorder.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{received}'\n")
        recorder.chmod(0o755)
        self.set_registry('[HKEY_CLASSES_ROOT\\.html]\n@="htmlfile"\n\n'
                          '[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\n'
                          f'"Browsers"="{recorder}"\n\n'
                          '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\n'
                          '"winhlp32.exe"="native"\n')
        self.choose("Helpの表示")
        handed = wait_until(lambda: received.read_text() if received.exists() else "",
                            lambda text: text.endswith("\n"), "the browser to be handed a page")
        page = self.config.program.parent / "quor6.html"
        self.assertEqual(handed.splitlines(), ["file://" + urllib.parse.quote(str(page))])
        self.assert_plays_on("1238")
