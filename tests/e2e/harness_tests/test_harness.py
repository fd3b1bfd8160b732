"""Checks of the harness itself, without Wine: a reader that misreads would make every
end-to-end verdict worthless."""

import unittest

from harness.tray import TrayReader, TrayWindow, parse_icon_frames

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (128, 128, 128)
DIAGONAL = "; a comment\n\n" + "\n".join("".join("#" if x == y else "." for x in range(32))
                                         for y in range(32)) + "\n"


class ReaderTest(unittest.TestCase):
    def test_pixel_maps_give_every_frame_by_its_size_and_bad_ones_are_refused(self):
        frames = parse_icon_frames(DIAGONAL + "; the tray's\n" + "\n".join(["#" * 16] * 16))
        self.assertEqual((frames[32][:2], frames[32][33], set(frames[16])),
                         ((BLACK, WHITE), BLACK, {BLACK}))
        for bad in (DIAGONAL[:-34], DIAGONAL.replace(".", "z", 1), "\n".join(["#" * 16] * 16),
                    DIAGONAL + "\n".join(["#" * 16] * 15), DIAGONAL + DIAGONAL):
            with self.subTest(bad=bad[-40:]), self.assertRaises(ValueError):
                parse_icon_frames(bad)

    def test_a_cell_is_an_icon_only_when_every_pixel_matches(self):
        one = tuple(BLACK if i % 16 == 7 else WHITE for i in range(256))
        reader = TrayReader({}, None)
        reader.references = lambda size: {"1": one, "blank": (WHITE,) * 256}
        tray = TrayWindow(0, 0, 0, 40, 20, True)  # two 20 px cells, 16 px pictures in them
        for first, reading in ((one, ("1", "blank")), ((GREY,) + one[1:], (None, "blank"))):
            pixels = [WHITE] * 800
            for i, pixel in enumerate(first):
                pixels[(2 + i // 16) * 40 + 2 + i % 16] = pixel
            self.assertEqual(reader.read_picture(tray, 40, 20, bytes(sum(pixels, ())), 2).symbols,
                             reading)

    def test_menu_rows_are_the_text_bands_and_separators_are_skipped(self):
        kinds = ["edge"] * 5 + ["text"] * 10 + ["gap"] * 6 + ["line"] + ["gap"] * 6 + \
            ["text"] * 9 + ["edge"] * 5
        colour = {"text": BLACK, "line": GREY}
        screen = TrayReader({}, None)
        screen.pixels = lambda rect: [colour.get(kind, WHITE) if 5 <= x < 95 else WHITE
                                      for kind in kinds for x in range(100)]
        self.assertEqual(screen.menu_rows((100, 50, 200, 50 + len(kinds))),
                         [(150, 50 + 5 + 4), (150, 50 + 28 + 4)])
