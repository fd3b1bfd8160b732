"""The release zip, its program unpacked in a path with blanks: stray callbacks, a new tray, a
second launch change nothing; help is the viewer, else a box, or for Windows 10's stub a browser."""

import dataclasses
import random
import shutil
import struct
import urllib.parse
import zipfile
from pathlib import Path

from harness import processes
from harness.game import APP_TITLE, GameCase, tray_of_guess
from harness.player import LEFT
from harness.polling import wait_until

VERSION = "1.0.0.6"
README = "はじめにお読みください.txt"
HELP_FAILED_TEXT = ("ヘルプを開けませんでした。ヘルプ ビューア (Winhlp32.exe) も、"
                    "quor6.html を表示するブラウザーも起動できませんでした。\n"
                    "ゲームはそのまま続けられます。")


def stray_callbacks(count: int, seed: int) -> str:
    """"slot message wparam" lines the shell never sends: presses, the right double-click, any
    other message, each with high bits above it or a wParam not the slot's id, or both."""
    rng, lines = random.Random(seed), []
    for _ in range(count):
        slot, disguise = rng.randint(1, 5), rng.randint(1, 3)  # 1: wParam, 2: lParam, 3: both
        message = rng.choice([0x201, 0x204, 0x206, rng.randint(0x1FE, 0x20D), rng.getrandbits(16)])
        high = rng.randint(1, 0xFFFF) << 16 if disguise > 1 else 0
        wparam = rng.choice([0, rng.getrandbits(32) | 8, slot % 5 + 1]) if disguise != 2 else slot
        lines.append(f"{slot} {high | message} {wparam}")
    return "\n".join(lines) + "\n"


class ReleaseTest(GameCase):
    def set_registry(self, text: str) -> None:
        script = self.session.directory / "settings.reg"
        script.write_text("REGEDIT4\n\n" + text, encoding="ascii")
        self.session.run_wine("regedit", "/S", "Z:" + str(script).replace("/", "\\"))

    def assert_plays_on(self, following: str) -> None:
        """Nothing changed: no window, history, menu or box; a press steps on to `following`."""
        self.assertEqual((self.session.state().values["visible"], self.history_store()), ("0", []))
        self.assertFalse([kind for kind in ("menu", "msgbox") if self.session.probe.run(kind).ok],
                         "a menu or a message box is up")
        self.player.click(self.tray, 4, LEFT)
        self.session.wait_tray(self.tray, tray_of_guess(following))
        self.assertIsNone(self.program.poll(), "the program ended")

    def test_the_zip_then_strays_a_new_tray_a_second_copy_and_help_leave_the_game_playing(self):
        archive = min(self.config.program.parent.glob(f"quor6-{VERSION}-win*.zip"))
        # Not in the session's folder: winhlp32 was seen to fail on a path as long as its.
        folder = self.config.scratch / "release check" / f"quor6 {VERSION}"
        self.addCleanup(shutil.rmtree, folder.parent, True)
        with zipfile.ZipFile(archive) as zipped:
            self.assertTrue(zipped.getinfo(README).flag_bits & 0x800, "name not marked UTF-8")
            files = {name: zipped.read(name) for name in zipped.namelist()}
            zipped.extractall(folder)
        self.assertEqual(sorted(files), sorted(["quor6.exe", "quor6.hlp", "quor6.html", README]))
        readme, exe = files[README].decode("utf-8"), files["quor6.exe"]
        self.assertRegex(readme, "^\ufeff[^\n]*(\r\n[^\n]*)*$", "a BOM and CR LF line ends")
        for topic in ("遊び方", "ヘルプの開き方", "quor6.html", "通知領域", "何も保存しません", "削除"):
            self.assertIn(topic, readme)
        pe = struct.unpack_from("<I", exe, 0x3C)[0]
        self.assertEqual((exe[:2], exe[pe:pe + 4], struct.unpack_from("<H", exe, pe + 4)[0]),
                         (b"MZ", b"PE\0\0", 0x8664 if "win64" in archive.name else 0x14C))
        self.assertEqual(files["quor6.hlp"][:4], b"\x3f\x5f\x03\x00", "not a help file")
        self.assertIn('<html lang="ja">', files["quor6.html"].decode("utf-8"))

        self.session.config = dataclasses.replace(self.config, program=folder / "quor6.exe")
        self.start_game()
        self.assert_started(96)
        for seed in (1, 2):
            flood = self.session.probe.run("post", "-", input=stray_callbacks(5000, seed))
            self.assertEqual((flood.code, flood.values.get("posted")), (0, "5000"), flood.errors)
        self.assert_plays_on("1235")  # from 1234: the flood changed nothing

        # A new tray while the icons are there adds no second set; a restarted shell, which
        # lost every icon, gets them back with the current guess, and they answer as before.
        for lost in (False, True):
            if lost:
                self.assertTrue(self.session.probe.run("delete-icons"))
                self.session.wait_tray_hidden()
            self.assertTrue(self.session.probe.run("broadcast-taskbar-created"))
            # Handled once the state request, queued behind it, is answered.
            self.assertEqual(self.session.guess(), "1235")
            self.tray = self.session.find_tray()
            self.session.wait_tray(self.tray, tray_of_guess("1235"))
        self.assert_plays_on("1236")

        answer, before = self.read_answer(), self.session.state()
        second = self.session.launch()
        box = self.message_box()
        self.assertEqual((box["text"], box["title"], box["buttons"], box["icon"]),
                         ("既に起動されています", APP_TITLE, "1:OK", "0"))
        self.assertNotEqual(box["pid"], before.values["pid"], "the box of the second copy")
        self.session.wait_tray(self.tray, tray_of_guess("1236"))
        self.dismiss_message_box()
        second.wait(15)
        keys, after = ("windows", "pid", "guess", "visible", "store.count"), self.session.state()
        self.assertEqual([after.values[k] for k in keys], [before.values[k] for k in keys])
        self.assertEqual(self.read_answer(), answer, "the first copy's answer changed")

        self.choose("Helpの表示")
        window = self.x_windows("--onlyvisible", "--name", "^quor6 ヘルプ")[0]
        # "Winhlp32.exe <folder>\quor6.hlp" without quotes: Wine splits it at every blank, as the
        # C runtime would, and shows a Windows program's command line so.
        help_file = "Z:" + str(folder / "quor6.hlp").replace("/", "\\")
        self.assertIn("\0".join(["Winhlp32.exe"] + help_file.split(" ")), [
            path.read_text().rstrip("\0") for path in (Path(f"/proc/{pid}/cmdline") for pid in
            processes.pids_of_session(self.session.directory)) if path.exists()])
        # The viewer opens over the tray; the player moves it aside to go on playing.
        self.player.xdotool("windowmove", "--sync", window, "500", "400")
        self.assert_plays_on("1237")

        windows = self.session.prefix / "drive_c" / "windows"
        viewers = [*windows.glob("winhlp32.exe"), *windows.glob("*/winhlp32.exe")]
        self.assertTrue(viewers, "no winhlp32.exe in the prefix")
        for viewer in viewers:
            viewer.unlink()
        self.set_registry("[-HKEY_CLASSES_ROOT\\.html]\n")  # nothing opens pages either
        self.choose("Helpの表示")
        box = self.message_box()
        self.assertEqual((box["title"], box["text"], box["buttons"]),
                         ("quor6", HELP_FAILED_TEXT, "1:OK"))
        self.dismiss_message_box()
        self.assert_plays_on("1238")

        # The probe carries the Windows 10 stub's version record. Wine's shell hands .html files
        # to winebrowser, which passes them as file URLs to the first program of its browser
        # list: here a recorder of its arguments. Wine would load its own viewer for a
        # winhlp32.exe of the system directory unless told not to.
        for viewer in viewers:
            shutil.copyfile(self.config.probe, viewer)
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
        self.assertEqual(handed.splitlines(),
                         ["file://" + urllib.parse.quote(str(folder / "quor6.html"))])
        self.assert_plays_on("1239")
