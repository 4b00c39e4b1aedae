#!/usr/bin/python3
"""Check plots of the example runs: tools/plot_run.py reads what the converter wrote in
each mode, and the pictures are made and show something.

    plot_run_test.py CONVERTER SOURCE_DIR
    plot_run_test.py CONVERTER SOURCE_DIR --example DIR    (the two-seas run, mode 2, into DIR)

Exits 77 (skipped) when matplotlib is missing.
"""
import collections
import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import matplotlib  # noqa: F401
except ImportError:
    print("matplotlib is missing (Debian: apt-get install python3-matplotlib); skipped")
    sys.exit(77)

import matplotlib.image

CONVERTER = sys.argv[1] if len(sys.argv) > 1 else ""
SOURCE = sys.argv[2] if len(sys.argv) > 2 else ""
TOOL = os.path.join(SOURCE, "tools", "plot_run.py")
GOLDEN = os.path.join(SOURCE, "tests", "run", "golden")
sys.path.insert(0, os.path.join(SOURCE, "tools"))
import plot_run  # noqa: E402

BLUE = (31, 119, 180)  # full plane
ORANGE = (255, 127, 14)  # half plane
VIRIDIS_MIDDLE_GREEN = 0.56  # the green of the middle of the colour map
STAMPS = [10060318, 10060321, 10060400, 10060403, 10060406]


def convert(folder, mode):
    shutil.copy(os.path.join(SOURCE, "examples", "station.spec"), folder)
    with open(os.path.join(SOURCE, "examples", f"mode{mode}.answers"), "rb") as answers:
        subprocess.run([CONVERTER], cwd=folder, stdin=answers, stdout=subprocess.DEVNULL, check=True)


def e3(value, width):
    """A WW3 header or spectrum field: 0.dddE+xx, right-aligned."""
    if value == 0:
        return "0.000E+00".rjust(width)
    digits, exponent = f"{value:.2e}".split("e")
    return f"0.{digits[0]}{digits[2:4]}E{int(exponent) + 1:+03d}".rjust(width)


def lines_of_fields(values, per_line, width):
    return "".join("".join(e3(v, width) for v in values[k:k + per_line]) + "\n"
                   for k in range(0, len(values), per_line))


# A real station's grid: 50 frequencies from 0.035 to 0.96 Hz, 36 directions.
FREQUENCIES = [float(e3(0.035 * 1.07 ** i, 10)) for i in range(50)]
SWELL_PEAK, SEA_PEAK = 0.0653, 0.171


def two_seas_file(path, records=6):
    """A WW3 file of a long westerly swell (15 s, Hs 1.3 m) under a south-westerly wind sea
    (6 s) that grows record by record: two peaks, and nothing above 0.5 Hz worth drawing."""
    directions = [math.radians(10 * j) for j in range(36)]

    def system(f, angle, hs, peak, spread, from_bearing):
        """JONSWAP in frequency, cos^2s in direction, each of unit area; grid angle = 270 - bearing."""
        shape = 5 * peak ** 4 * f ** -5 * math.exp(-1.25 * (peak / f) ** 4) * 3.3 ** math.exp(
            -((f - peak) ** 2) / (2 * (0.07 if f <= peak else 0.09) ** 2 * peak ** 2)) / 1.5
        spreading = abs(math.cos(0.5 * (angle - math.radians(270 - from_bearing)))) ** (2 * spread)
        return hs * hs / 16 * shape * spreading * math.sqrt(spread / math.pi) / 2

    text = "'WAVEWATCH III SPECTRA'     50    36     1 'spectral resolution for points'\n"
    text += lines_of_fields(FREQUENCIES, 8, 10) + lines_of_fields(directions, 7, 11)
    for k in range(records):
        text += f"201001{15 + k // 4:02d} {6 * (k % 4):02d}0000\n"
        text += "'41025     '  35.01 -75.40      68.2  11.30 225.0   0.15  45.0\n"
        values = [system(f, a, 1.3, SWELL_PEAK, 24, 268 + k) + system(f, a, 1.0 + 0.15 * k, SEA_PEAK, 3, 222)
                  for a in directions for f in FREQUENCIES]
        text += lines_of_fields([v if v >= 1e-6 else 0.0 for v in values], 7, 11)
    with open(path, "w") as file:
        file.write(text)


def convert_two_seas(folder, mode):
    """The generated file converted in `mode` (2: a coast with the shore normal from 240)."""
    two_seas_file(os.path.join(folder, "bay.spec"))
    answers = ["bay.spec", "0", "99999999", "0", str(mode), "bay.eng"] + (["330", "20.0"] if mode == 2 else [])
    subprocess.run([CONVERTER], cwd=folder, input="\n".join(answers + [""]).encode(), stdout=subprocess.DEVNULL,
                   check=True)
    return os.path.join(folder, "bay.eng")


def plot(*arguments):
    result = subprocess.run([sys.executable, TOOL, *arguments], capture_output=True)
    result.stdout, result.stderr = result.stdout.decode(), result.stderr.decode()
    return result


def written(result):
    assert result.stdout.endswith("\r\n"), repr(result.stdout)
    return result.stdout.split("\r\n")[:-1]


class PictureChecks:
    """What a picture must show: drawn data, not only axes. The runs are in cls.folder."""

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def pixels(self, path):
        image = matplotlib.image.imread(path)
        height, width = image.shape[:2]
        self.assertGreaterEqual(min(height, width), 400, path)
        return image[:, :, :3].reshape(-1, 3)

    def assertDrawsInColour(self, path, colour, least):
        """At least `least` pixels of a line colour: the data was drawn, not only the axes."""
        near = (abs(self.pixels(path) * 255 - colour) < 40).all(axis=1).sum()
        self.assertGreaterEqual(near, least, f"{path}: hardly any pixel of colour {colour}")

    def assertMostlyColoured(self, path, top=1.0):
        """A spectrum picture: much of it is the colour map, in several shades that each
        fill cells, counted left of the colour bar (which has every shade whatever the data)
        and in the `top` share of its height (above the E(f) panel)."""
        image = matplotlib.image.imread(path)[:, :, :3]
        self.assertGreaterEqual(min(image.shape[:2]), 400, path)
        pixels = image[: int(image.shape[0] * top), : int(image.shape[1] * 0.75)].reshape(-1, 3)
        coloured = pixels[(pixels.max(axis=1) - pixels.min(axis=1)) > 0.15]
        self.assertGreater(len(coloured) / len(pixels), 0.25, f"{path} is mostly blank")
        # Eight levels a channel: the blends at cell seams and grid lines fall with their cell.
        shades = collections.Counter(map(tuple, (coloured * 7).round().astype(int)))
        filled = sum(1 for count in shades.values() if count >= 0.002 * len(coloured))
        self.assertGreaterEqual(filled, 6, f"{path} has hardly any shade")

    def litShare(self, path, top=0.68):
        """The share of the colour map's pixels in the upper half of its logarithmic scale
        (viridis grows greener from its zero colour up)."""
        image = matplotlib.image.imread(path)[:, :, :3]
        pixels = image[: int(image.shape[0] * top), : int(image.shape[1] * 0.75)].reshape(-1, 3)
        coloured = pixels[(pixels.max(axis=1) - pixels.min(axis=1)) > 0.15]
        return (coloured[:, 1] > VIRIDIS_MIDDLE_GREEN).mean()

    def assertSeries(self, path, half_plane):
        self.assertDrawsInColour(path, BLUE, 600)
        if half_plane:
            self.assertDrawsInColour(path, ORANGE, 600)

class Pictures(PictureChecks, unittest.TestCase):
    """Each mode's run gives its pictures, and none of them is blank."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="plot_run_test.")
        cls.runs = {}
        for mode in (0, 1, 2):
            folder = os.path.join(cls.folder, f"mode{mode}")
            os.mkdir(folder)
            convert(folder, mode)
            cls.runs[mode] = folder

    def test_mode0_series(self):
        result = plot(os.path.join(self.runs[0], "station.out"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(written(result), [os.path.join(self.runs[0], "station_series.png")])
        self.assertSeries(written(result)[0], half_plane=False)
        # In mode 0 the name is used as typed, with or without a ".".
        shutil.copy(os.path.join(self.runs[0], "station.out"), os.path.join(self.runs[0], "stationout"))
        result = plot(os.path.join(self.runs[0], "stationout"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(written(result), [os.path.join(self.runs[0], "stationout_series.png")])

    def test_mode1_series_and_polar_spectrum_of_a_chosen_record(self):
        output = os.path.join(self.folder, "mode1-plots")
        result = plot(os.path.join(self.runs[1], "station.eng"), "--record", "10060400", "--output-dir", output)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(written(result), [os.path.join(output, "station_series.png"),
                                           os.path.join(output, "station_spectrum_10060400.png")])
        self.assertSeries(written(result)[0], half_plane=False)
        self.assertMostlyColoured(written(result)[1])

    def test_mode2_series_and_half_plane_spectrum(self):
        result = plot(os.path.join(self.runs[2], "station.eng"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(written(result), [os.path.join(self.runs[2], "station_series.png"),
                                           os.path.join(self.runs[2], "station_halfplane_10060318.png")])
        self.assertSeries(written(result)[0], half_plane=True)
        self.assertMostlyColoured(written(result)[1])

    def test_mode2_from_the_run_record(self):
        folder = os.path.join(self.folder, "recorded")
        os.mkdir(folder)
        shutil.copy(os.path.join(SOURCE, "examples", "station.spec"), folder)
        subprocess.run([CONVERTER, "station.spec", "--mode", "2", "--orientation", "270", "--boundary-depth", "12",
                        "--record", "run.json"], cwd=folder, stderr=subprocess.DEVNULL, check=True)
        record = os.path.join(folder, "run.json")
        result = plot("--record", record)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(written(result), [os.path.join(folder, "station_series.png"),
                                           os.path.join(folder, "station_halfplane_10060318.png")])
        self.assertMostlyColoured(written(result)[1])
        facts = plot_run.run_facts(plot_run.read_run_record(record))
        for part in ("orientation 270°", "WW3 depth 46.6 m", "boundary depth 12 m", "L = 1.357",
                     "direction offset 0°"):
            self.assertIn(part, facts)
        line = plot_run.parameters_at(plot_run.read_parameter_file(os.path.join(folder, "station.dat")), 10060318)
        self.assertRegex(plot_run.hs_and_tp(line), r"^Hs \d+\.\d\d m, Tp \d+\.\d s$")
        result = plot("--record", os.path.join(folder, "station.eng"))
        self.assertEqual(result.returncode, 2)
        self.assertIn("is no run record", result.stderr)

    def test_refusals_name_the_problem(self):
        cases = [
            ([os.path.join(self.runs[2], "station.eng"), "--stamp", "10069999"], "has no record 10069999"),
            ([os.path.join(self.runs[2], "missing.eng")], "cannot read"),
            ([os.path.join(self.runs[2], "stationeng")], 'has no "."'),
        ]
        shutil.copy(os.path.join(self.runs[2], "station.eng"), os.path.join(self.runs[2], "stationeng"))
        for arguments, message in cases:
            result = plot(*arguments)
            self.assertEqual(result.returncode, 2, arguments)
            self.assertIn(message, result.stderr)
            self.assertTrue(result.stderr.endswith("\r\n"))


class RealSpectra(PictureChecks, unittest.TestCase):
    """A two-peak record on a real station's 50-frequency grid: the pictures keep to the
    frequencies where the energy is, and full and half plane stay apart where equal."""

    RECORD = 10011518  # the wind sea has overtaken the swell as the peak band

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="plot_run_test.")
        cls.runs = {}
        for mode in (1, 2):
            os.mkdir(os.path.join(cls.folder, f"mode{mode}"))
            cls.runs[mode] = convert_two_seas(os.path.join(cls.folder, f"mode{mode}"), mode)

    def test_spectrum_pictures_keep_to_the_energetic_band(self):
        for mode, direction_step in ((1, 10.0), (2, 5.0)):
            with self.subTest(mode=mode):
                spectrum = plot_run.SpectrumFile(self.runs[mode])
                energy = plot_run.frequency_spectrum(spectrum.record(self.RECORD)["density"],
                                                     math.radians(direction_step))
                low, high = plot_run.energetic_band(spectrum.frequencies, energy)
                # Both peaks and the wind sea's tail, not the grid's 0.96 Hz.
                self.assertLess(low, SWELL_PEAK * 0.8)
                self.assertGreater(high, SEA_PEAK * 2)
                self.assertLess(high, 0.5)
                self.assertGreater(plot_run.energetic_band(spectrum.frequencies, energy, share=0)[1], 0.96)
        lit = {}
        for mode, picture, extra in ((1, "spectrum", ""), (2, "halfplane", ""), (2, "halfplane", "--full-range")):
            result = plot(self.runs[mode], "--record", str(self.RECORD), *extra.split(),
                          "--output-dir", os.path.join(self.folder, f"mode{mode}{extra}"))
            self.assertEqual(result.returncode, 0, result.stderr)
            path = written(result)[1]
            self.assertTrue(path.endswith(f"bay_{picture}_{self.RECORD}.png"), path)
            self.assertDrawsInColour(path, BLUE, 800)  # the E(f) panel
            lit[mode, extra] = self.litShare(path)
            if not extra:
                self.assertMostlyColoured(path, top=0.68)
        # On the whole grid the two seas shrink into the bottom of the half-plane picture.
        self.assertGreater(lit[2, ""], 2 * lit[2, "--full-range"])

    def test_equal_full_and_half_plane_series_both_show(self):
        records = plot_run.read_parameter_file(plot_run.derived_name(self.runs[2], "out"))
        path = os.path.join(self.folder, "equal_series.png")
        plot_run.plot_series(plot_run.pyplot(), records, [dict(r) for r in records], "equal", path, 100)
        self.assertSeries(path, half_plane=True)

    def test_direction_axis_fits_the_data(self):
        nan = float("nan")
        cases = [  # directions, the widest axis allowed (degrees)
            ([250.0, 257.0, 264.0], 40),
            ([350.0, 356.0, 4.0, 10.0], 40),  # across north
            ([200.0, 200.0], 30),  # one value: a little room either side
            ([0.0, 90.0, 180.0, 270.0], 380),
            ([nan], 380),
        ]
        for directions, widest in cases:
            with self.subTest(directions=directions):
                low, high = plot_run.direction_window(directions)
                self.assertLessEqual(high - low, widest)
                self.assertGreaterEqual(high - low, 20)
                for value in directions:
                    if math.isfinite(value):
                        self.assertLess(low, plot_run.unwrapped(value, (low, high)))
                        self.assertLess(plot_run.unwrapped(value, (low, high)), high)


class Reading(unittest.TestCase):
    """The readers take the fixed columns of the golden files as they are laid out."""

    def test_parameter_lines(self):
        records = plot_run.read_parameter_file(os.path.join(GOLDEN, "mode2", "station.out"))
        self.assertEqual([r["hs"] for r in records], [1.14, 1.00, 1.13, 1.24, 1.23])
        self.assertEqual(records[0]["time"].isoformat(), "2010-06-03T18:00:00")
        self.assertEqual(records[2]["time"].isoformat(), "2010-06-04T00:00:00")
        first = records[0]
        self.assertEqual((first["tp"], first["tm"], first["direction"]), (7.5, 6.6, 219.0))
        self.assertEqual((first["wind_speed"], first["wind_direction"]), (7.0, 225.0))
        half = plot_run.read_parameter_file(os.path.join(GOLDEN, "mode2", "station.dat"))
        self.assertEqual([r["direction"] for r in half], [205.0, 200.0, 198.0, 194.0, 190.0])

    def test_spectrum_files_of_both_modes(self):
        for mode, directions in ((1, 24), (2, 35)):
            path = os.path.join(GOLDEN, f"mode{mode}", "station.eng")
            spectrum = plot_run.SpectrumFile(path)
            self.assertEqual((spectrum.frequency_count, spectrum.direction_count), (25, directions))
            self.assertEqual(spectrum.frequencies[0], 0.035)
            self.assertEqual(spectrum.frequencies[-1], 0.345)
            self.assertEqual([r["stamp"] for r in spectrum.records], STAMPS)
            # Every density of the file, in the order written, is in the arrays.
            with open(path) as file:
                lines = file.read().splitlines()
            block = 1 + 25 * math.ceil(directions / 7)
            listed = [float(v) for n, line in enumerate(lines[4:]) if n % block for v in line.split()]
            parsed = [v for r in spectrum.records for row in r["density"] for v in row]
            self.assertEqual(parsed, listed)
            self.assertTrue(all(len(row) == directions for r in spectrum.records for row in r["density"]))
            self.assertEqual(spectrum.record(10060403)["peak_frequency"], float(lines[4 + 3 * block][29:37]))

    def test_shore_normal_and_names(self):
        half = plot_run.read_parameter_file(os.path.join(GOLDEN, "mode2", "station.dat"))
        table = plot_run.read_brevolan_table(os.path.join(GOLDEN, "mode2", "station.txt"))
        self.assertEqual([r["stamp"] for r in table], STAMPS)
        # The example typed a shoreline orientation of 270: shore-normal waves from 180.
        self.assertAlmostEqual(plot_run.shore_normal_bearing(half, table), 180.0, delta=0.5)
        self.assertEqual(plot_run.bearing_from_orientation(270), 180.0)
        self.assertEqual(plot_run.bearing_from_orientation(0), 270.0)
        self.assertEqual(plot_run.bearing_from_orientation(45), 315.0)
        self.assertEqual(plot_run.derived_name("runs/bay.eng", "dat"), os.path.join("runs", "bay.dat"))
        self.assertEqual(plot_run.derived_name("a.b.eng", "out"), "a.outng")
        self.assertEqual(plot_run.derived_name("bay.", "txt"), "bay.txt")
        self.assertEqual(plot_run.stamp_time(10060403).isoformat(), "2010-06-04T03:00:00")
        self.assertEqual(plot_run.stamp_time(99123123).year, 1999)


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[3] == "--example":
        # The two-seas run of the guide's picture, in mode 2, into the folder given.
        os.makedirs(sys.argv[4], exist_ok=True)
        print(convert_two_seas(sys.argv[4], 2))
        sys.exit(0)
    unittest.main(argv=sys.argv[:1], verbosity=2)
