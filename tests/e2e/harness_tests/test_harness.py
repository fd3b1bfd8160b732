"""The harness's own check, without Wine: a tray reader that took a near match for an icon
would make every end-to-end verdict worthless (the rest of the harness fails loudly there)."""

import unittest

from harness.tray import TrayReader, TrayWindow

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (128, 128, 128)


class ReaderTest(unittest.TestCase):
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
