#!/usr/bin/python3
"""Check plots of a ww3-brevolan run.

Give the output name that was typed in the dialogue (bay.out in mode 0, bay.eng in modes
1 and 2), with its folder in front when the files are elsewhere. The tool finds the
other files of the run by the converter's own naming rule and draws PNG files beside
them (or into --output-dir):

  NAME_series.png           Hs, Tp, Tm and mean direction against time: full plane
                            (bay.out) and, in mode 2, half plane (bay.dat)
  NAME_halfplane_STAMP.png  mode 2: the Brevolan half-plane spectrum of one record,
                            frequency against direction from the shore normal, and E(f)
  NAME_spectrum_STAMP.png   mode 1: the full 2-D spectrum of one record, polar, and E(f)

STAMP is the record's yymmddhh; --stamp chooses it (default: the first record). The
spectra are drawn on the frequencies where the energy is, on a logarithmic colour scale
so that the tails show; --full-range draws every frequency.

--record RUN.json takes the run record that the converter wrote with --record: the output
name, the mode, the shoreline orientation, both depths, the depth exponent L and the
direction offset come from it instead of being worked out from the files.
Installed with the program as ww3-brevolan-plot.

Needs Python 3 and matplotlib (Debian: apt-get install python3-matplotlib).
"""

import argparse
import datetime
import json
import math
import os
import sys

EXIT_PROBLEM = 2
# plot_run.py in the source tree, ww3-brevolan-plot once installed
PROGRAM = os.path.basename(sys.argv[0]) or "plot_run.py"
NOT_A_NUMBER = float("nan")


class Problem(Exception):
    """Something the tool cannot go on with; reported on standard error."""


def say(text, stream=sys.stdout):
    """One line, ending in CR LF like every line of the converter."""
    stream.write(text + "\r\n")
    stream.flush()


# ---------------------------------------------------------------------------------------
# Names


def derived_name(typed, suffix):
    """The converter's rule: the three characters after the first "." become `suffix`."""
    folder, base = os.path.split(typed)
    dot = base.find(".")
    if dot < 0:
        raise Problem(f'the name "{base}" has no "."; give the name typed in the dialogue, such as bay.eng')
    renamed = base[: dot + 1] + suffix + base[dot + 4 :]
    return os.path.join(folder, renamed)


def stem(typed):
    base = os.path.basename(typed)
    return base.split(".", 1)[0] or base


# ---------------------------------------------------------------------------------------
# Reading the output files (fixed columns; a field of asterisks did not fit and reads as
# not a number)


def number(text):
    text = text.strip()
    if not text or "*" in text:
        return NOT_A_NUMBER
    return float(text)


def full_year(year2):
    """Two-digit years as the stamps carry them: 70 to 99 are 1970 to 1999, the rest 20xx."""
    return 1900 + year2 if year2 >= 70 else 2000 + year2


def stamp_time(stamp):
    """yymmddhh as a date and hour."""
    year2, rest = divmod(stamp, 1000000)
    month, rest = divmod(rest, 10000)
    day, hour = divmod(rest, 100)
    return datetime.datetime(full_year(year2), month, day) + datetime.timedelta(hours=hour)


def lines_of(path):
    try:
        with open(path, encoding="ascii", errors="replace", newline="") as file:
            return [line.rstrip("\r\n") for line in file]
    except OSError as error:
        raise Problem(f'cannot read "{path}": {error.strerror}') from None


def read_parameter_file(path):
    """A full-plane (.out) or half-plane (.dat) parameter file: one dict per line."""
    records = []
    for number_of_line, line in enumerate(lines_of(path), start=1):
        if not line.strip():
            continue
        line = line.ljust(53)
        try:
            year2, month, day = int(line[5:7]), int(line[8:10]), int(line[11:13])
            hour = number(line[14:18])
            time = datetime.datetime(full_year(year2), month, day) + datetime.timedelta(hours=hour)
        except ValueError:
            raise Problem(f'line {number_of_line} of "{path}" is not a parameter line') from None
        records.append(
            {
                "time": time,
                "hs": number(line[18:23]),
                "tp": number(line[23:29]),
                "tm": number(line[29:35]),
                "direction": number(line[35:41]),
                "wind_speed": number(line[41:47]),
                "wind_direction": number(line[47:53]),
            }
        )
    if not records:
        raise Problem(f'"{path}" holds no record')
    return records


def read_brevolan_table(path):
    """The SPECTRAL TABLE (.txt): stamp and relative mean direction ANGLE(1) per record."""
    rows = []
    for line in lines_of(path)[2:]:
        if len(line) < 60:
            continue
        rows.append({"stamp": int(line[36:48]), "angle": number(line[48:60])})
    return rows


def values_on(line, count):
    return [number(line[11 * k : 11 * (k + 1)]) for k in range(count)]


class SpectrumFile:
    """A full 2-D spectral file (mode 1) or a Brevolan spectrum file (mode 2)."""

    def __init__(self, path):
        self.path = path
        lines = lines_of(path)
        try:
            self.frequency_count = int(lines[0][0:3])
            self.direction_count = int(lines[0][3:6])
        except (IndexError, ValueError):
            raise Problem(f'"{path}" does not start with the counts of a spectrum file') from None
        nf, nd = self.frequency_count, self.direction_count
        frequency_lines = math.ceil(nf / 10)
        self.frequencies = []
        for line in lines[1 : 1 + frequency_lines]:
            self.frequencies += [number(line[8 * k : 8 * (k + 1)]) for k in range(len(line) // 8)]
        self.frequencies = self.frequencies[:nf]
        lines_per_frequency = math.ceil(nd / 7)
        block = 1 + nf * lines_per_frequency
        self.records = []
        at = 1 + frequency_lines
        while at + block <= len(lines):
            head = lines[at]
            density = []
            for i in range(nf):
                row = []
                for n in range(lines_per_frequency):
                    row += values_on(lines[at + 1 + i * lines_per_frequency + n], min(7, nd - 7 * n))
                density.append(row)
            self.records.append(
                {
                    "stamp": int(head[0:8]),
                    "wind_speed": number(head[10:16]),
                    "wind_direction": number(head[18:27]),
                    "peak_frequency": number(head[29:37]),
                    "density": density,
                }
            )
            at += block
        if len(self.frequencies) != nf or not self.records:
            raise Problem(f'"{path}" holds no complete record')

    def record(self, stamp=None):
        if stamp is None:
            return self.records[0]
        for record in self.records:
            if record["stamp"] == stamp:
                return record
        stamps = ", ".join(str(r["stamp"]) for r in self.records[:6])
        more = ", ..." if len(self.records) > 6 else ""
        raise Problem(f'"{self.path}" has no record {stamp}; its records are {stamps}{more}')


def shore_normal_bearing(half_plane, table):
    """The compass bearing the shore-normal waves come from, estimated from the run's files.

    ANGLE(1) = 270 - D - o and the shore normal comes from 270 - o, so it is D + ANGLE(1),
    with D the half-plane mean direction (written to the degree): a circular mean over
    the records gives it to a fraction of a degree.
    """
    x = y = 0.0
    for line, row in zip(half_plane, table):
        bearing = line["direction"] + row["angle"]
        if math.isfinite(bearing):
            x += math.cos(math.radians(bearing))
            y += math.sin(math.radians(bearing))
    if x == 0 and y == 0:
        return None
    return math.degrees(math.atan2(y, x)) % 360.0


def read_run_record(path):
    """The JSON record of a run (ww3-brevolan --record)."""
    try:
        with open(path, encoding="utf-8") as file:
            record = json.load(file)
        record["answers"]["mode"], record["answers"]["output"]
    except OSError as error:
        raise Problem(f'cannot read "{path}": {error.strerror}') from None
    except (ValueError, KeyError, TypeError):
        raise Problem(f'"{path}" is no run record of ww3-brevolan') from None
    return record


def run_facts(run_record):
    """One line of what the run was asked and found, for the spectrum pictures."""
    if run_record is None:
        return ""
    answers, depths = run_record["answers"], run_record.get("depths") or {}
    directions = run_record.get("directions") or {}
    parts = []
    if answers.get("orientation") is not None:
        parts.append(f"orientation {answers['orientation']:g}°")
    if depths:
        parts.append(f"WW3 depth {depths['save_depth']:g} m, boundary depth {depths['boundary_depth']:g} m, "
                     f"L = {depths['depth_exponent']:.3f}")
    if directions.get("verdict") is not None:
        offset = directions.get("offset_degrees") or 0.0
        placed = ", placed as listed" if directions.get("header_directions") else ""
        parts.append(f"direction offset {offset:g}°{placed}")
    return "; ".join(parts)


def parameters_at(records, stamp):
    """The parameter line of a record's time, or None."""
    time = stamp_time(stamp)
    return next((r for r in records or [] if r["time"] == time), None)


def hs_and_tp(line):
    if line is None:
        return ""
    return f"Hs {line['hs']:.2f} m, Tp {line['tp']:.1f} s"


def bearing_from_orientation(orientation):
    """The typed shoreline orientation gives shore-normal waves from the orientation less 90."""
    return (orientation - 90.0) % 360.0


# ---------------------------------------------------------------------------------------
# Pictures


def pyplot():
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    plt.rcParams.update({"font.size": 11, "axes.titlesize": 12, "axes.grid": True, "grid.alpha": 0.3})
    return plt


def edges(centres):
    """Cell edges halfway between centres, the outer ones half a step out."""
    inner = [(a + b) / 2 for a, b in zip(centres, centres[1:])]
    first = centres[0] - (inner[0] - centres[0]) if inner else centres[0] - 0.5
    last = centres[-1] + (centres[-1] - inner[-1]) if inner else centres[-1] + 0.5
    return [first] + inner + [last]


def log_colours(density, decades=4):
    """A logarithmic colour scale over `decades` below the highest density, so that the
    tails of a spectrum show; cells of no energy take the colour of the lowest."""
    from matplotlib.colors import LogNorm

    top = max((v for row in density for v in row if math.isfinite(v)), default=0.0)
    if not top > 0:
        return None
    return LogNorm(vmin=top * 10.0 ** -decades, vmax=top, clip=True)


def masked_density(density):
    """Densities of 0 (or below) would be no colour on a logarithmic scale: drawn lowest."""
    return [[v if v > 0 else 1e-300 for v in row] for row in density]


def frequency_spectrum(density, direction_step):
    """E(f) in m²/Hz: the densities of each frequency summed over the directions."""
    return [sum(value for value in row if math.isfinite(value)) * direction_step for row in density]


def energetic_band(frequencies, energy, share=0.01):
    """The frequency range (Hz) to draw: from the band below the first to the band above the
    last where E(f) reaches `share` of its peak. The whole grid when there is no energy."""
    grid = edges(frequencies)
    top = max((e for e in energy if math.isfinite(e)), default=0.0)
    if not top > 0 or share <= 0:
        return grid[0], grid[-1]
    strong = [i for i, e in enumerate(energy) if math.isfinite(e) and e >= share * top]
    low, high = max(strong[0] - 1, 0), min(strong[-1] + 1, len(frequencies) - 1)
    return grid[low], grid[high + 1]


# The whole circle, with room for the markers at north.
FULL_CIRCLE = (-10.0, 370.0)


def direction_window(values, least_span=20.0):
    """Limits (degrees) of a direction axis fitted to `values`: the arc left when the widest
    gap between them is taken out, so that values either side of north stay side by side,
    with a margin. The lower limit may be negative or the upper beyond 360; `unwrapped`
    places a value on that axis. Data spread round most of the circle gets the whole circle."""
    points = sorted(v % 360.0 for v in values if math.isfinite(v))
    if not points:
        return FULL_CIRCLE
    gaps = [(points[k + 1] - points[k], points[k + 1]) for k in range(len(points) - 1)]
    gaps.append((points[0] + 360.0 - points[-1], points[0]))
    gap, start = max(gaps)
    span = 360.0 - gap
    if span > 240.0:
        return FULL_CIRCLE
    margin = max(0.12 * span, (least_span - span) / 2, 2.0)
    return start - margin, start + span + margin


def unwrapped(value, window):
    return window[0] + (value - window[0]) % 360.0 if math.isfinite(value) else value


def record_title(record):
    return f"record {record['stamp']} ({stamp_time(record['stamp']):%Y-%m-%d %H:%M} UTC)"


def compass_label(value, _position=None):
    if not 0 <= value <= 360:
        value %= 360
    names = {0: "N", 90: "E", 180: "S", 270: "W", 360: "N"}
    whole = round(value)
    return f"{whole:.0f} {names[whole]}" if abs(value - whole) < 1e-6 and whole in names else f"{value:.0f}"


def upper_limit(values):
    """Room above the highest value, so that no marker is cut at the top."""
    top = max((v for v in values if math.isfinite(v)), default=0.0)
    return top * 1.12 if top > 0 else 1.0


# Full plane and half plane: different colours, lines and markers (filled circles inside
# open squares), so that both stay visible where they are equal.
SERIES_STYLES = {
    "full": {"color": "tab:blue", "marker": "o", "markersize": 4, "linestyle": "-", "linewidth": 1.5},
    "half": {"color": "tab:orange", "marker": "s", "markersize": 8, "markerfacecolor": "none",
             "markeredgewidth": 1.5, "linestyle": "--", "linewidth": 1.5},
}


def plot_series(plt, full, half, name, path, dpi):
    import matplotlib.dates as mdates
    from matplotlib.ticker import FuncFormatter, MaxNLocator, MultipleLocator

    figure, axes = plt.subplots(4, 1, figsize=(10, 9), sharex=True, constrained_layout=True)
    panels = [
        ("hs", "Hs (m)", "significant wave height"),
        ("tp", "Tp (s)", "peak period"),
        ("tm", "Tm (s)", "mean period"),
        ("direction", "from (compass °)", "mean direction (waves from)"),
    ]
    sets = [(full, "full plane", SERIES_STYLES["full"])]
    if half is not None:
        sets.append((half, "half plane (Brevolan boundary)", SERIES_STYLES["half"]))
    for ax, (key, label, title) in zip(axes, panels):
        everything = [r[key] for records, _, _ in sets for r in records]
        window = direction_window(everything) if key == "direction" else None
        for records, legend, style in sets:
            times = [r["time"] for r in records]
            values = [unwrapped(r[key], window) if window else r[key] for r in records]
            # On the whole circle a direction jumps across north: points only there.
            linestyle = "none" if window == FULL_CIRCLE else style["linestyle"]
            ax.plot(times, values, label=legend, **{**style, "linestyle": linestyle})
        ax.set_ylabel(label)
        ax.set_title(title, loc="left")
        if window:
            ax.set_ylim(*window)
            ax.yaxis.set_major_locator(MultipleLocator(90) if window == FULL_CIRCLE else
                                       MaxNLocator(nbins=6, steps=[1, 2, 2.5, 5, 10]))
            ax.yaxis.set_major_formatter(FuncFormatter(compass_label))
        else:
            ax.set_ylim(0, upper_limit(everything))
    axes[0].legend(loc="lower right", bbox_to_anchor=(1.0, 1.0), ncols=2, fontsize=10, frameon=False)
    locator = mdates.AutoDateLocator()
    axes[-1].xaxis.set_major_locator(locator)
    axes[-1].xaxis.set_major_formatter(mdates.ConciseDateFormatter(locator))
    axes[-1].margins(x=0.03)
    axes[-1].set_xlabel("time of the record (UTC)")
    figure.suptitle(f"{name}: wave parameters per written record", fontsize=13)
    figure.savefig(path, dpi=dpi)
    plt.close(figure)


def plot_frequency_spectrum(ax, frequencies, energy, peak, band, what):
    """The panel of E(f) of the drawn record, on the frequency range of the 2-D picture."""
    ax.plot(frequencies, energy, color="tab:blue", marker="o", markersize=3, linewidth=1.5)
    ax.fill_between(frequencies, energy, color="tab:blue", alpha=0.15)
    if math.isfinite(peak):
        ax.axvline(peak, color="black", linestyle=":", linewidth=1)
        # The file's peak is the band of largest band energy (density times bandwidth),
        # which need not be the highest point of E(f).
        ax.annotate(f"peak band of the file {peak:.3f} Hz" + (f" ({1 / peak:.1f} s)" if peak > 0 else ""),
                    xy=(peak, 1),
                    xycoords=("data", "axes fraction"), xytext=(4, -14), textcoords="offset points", fontsize=10)
    ax.set_xlim(*band)
    ax.set_ylim(0, upper_limit(energy))
    ax.set_xlabel("frequency (Hz)")
    ax.set_ylabel("E(f) (m²/Hz)")
    ax.set_title(f"1-D spectrum E(f) of {what}, the densities summed over the directions", loc="left")


def plot_half_plane(plt, spectrum, record, bearing, bearing_note, name, path, dpi, full_range=False, facts="",
                    parameters=""):
    from matplotlib.ticker import FuncFormatter

    offsets = [5 * k for k in range(-17, 18)]
    energy = frequency_spectrum(record["density"], math.radians(5.0))
    band = energetic_band(spectrum.frequencies, energy, share=0.0 if full_range else 0.01)
    figure, (ax, lower) = plt.subplots(2, 1, figsize=(10, 10), height_ratios=[2.4, 1], constrained_layout=True)
    ax.grid(False)
    mesh = ax.pcolormesh(edges(offsets), edges(spectrum.frequencies), masked_density(record["density"]),
                         cmap="viridis", shading="flat", norm=log_colours(record["density"]))
    colourbar = figure.colorbar(mesh, ax=ax)
    colourbar.set_label("energy density (m² / Hz / rad), logarithmic")
    ax.axvline(0, color="white", linestyle="--", linewidth=1.5)
    ax.annotate("shore normal", xy=(0, 1), xycoords=("data", "axes fraction"), xytext=(4, -14),
                textcoords="offset points", color="white", fontsize=11)
    peak = record["peak_frequency"]
    if math.isfinite(peak):
        ax.axhline(peak, color="white", linestyle=":", linewidth=1)
        ax.annotate(f"peak {peak:.3f} Hz", xy=(1, peak), xycoords=("axes fraction", "data"), xytext=(-4, 4),
                    textcoords="offset points", ha="right", color="white", fontsize=10)
    ax.set_xlim(-87.5, 87.5)
    ax.set_ylim(*band)
    ax.set_xticks(range(-75, 80, 25))
    ax.set_xlabel("direction from the shore normal (degrees, positive counter-clockwise)")
    ax.set_ylabel("frequency (Hz)")
    if bearing is not None:
        top = ax.secondary_xaxis("top", functions=(lambda x: bearing - x, lambda b: bearing - b))
        top.xaxis.set_major_formatter(FuncFormatter(compass_label))
        top.set_xlabel(f"waves from (compass °); shore normal from {bearing:.0f}° {bearing_note}")
    title = f"{name}: half-plane spectrum after the depth factor, {record_title(record)}"
    title += f"\n{parameters} (half plane)" if parameters else ""
    title += f"\n{facts}" if facts else ""
    ax.set_title(title, pad=10)
    plot_frequency_spectrum(lower, spectrum.frequencies, energy, peak, band, "the half plane")
    figure.savefig(path, dpi=dpi)
    plt.close(figure)


def plot_polar(plt, spectrum, record, name, path, dpi, full_range=False, facts="", parameters=""):
    nd = spectrum.direction_count
    step = 360.0 / nd
    energy = frequency_spectrum(record["density"], math.radians(step))
    band = energetic_band(spectrum.frequencies, energy, share=0.0 if full_range else 0.01)
    # Direction j (from 0) stands j steps counter-clockwise from the first direction; the
    # converter writes it as the bearing 270 minus the angle.
    angle_edges = [(j - 0.5) * step for j in range(nd + 1)]
    theta = [math.radians(270.0 - a) for a in angle_edges]
    figure = plt.figure(figsize=(9, 12), constrained_layout=True)
    rows = figure.add_gridspec(2, 1, height_ratios=[2.3, 1])
    ax, lower = figure.add_subplot(rows[0], projection="polar"), figure.add_subplot(rows[1])
    ax.set_theta_zero_location("N")
    ax.set_theta_direction(-1)
    ax.grid(False)
    # The radius spans the energetic band on a logarithmic scale, so that a long swell
    # near the bottom of the band does not shrink to a dot at the centre.
    high = band[1]
    if not high > 0:
        raise Problem(f'"{spectrum.path}" has no positive frequency to draw')
    low = max(band[0], high / 1000)
    radius = [math.log(max(min(f, high), low) / low) for f in edges(spectrum.frequencies)]
    mesh = ax.pcolormesh(theta, radius, masked_density(record["density"]), cmap="viridis", shading="flat",
                         norm=log_colours(record["density"]))
    colourbar = figure.colorbar(mesh, ax=ax, shrink=0.8, pad=0.08)
    colourbar.set_label("energy density (m² / Hz / rad), logarithmic")
    ax.set_xticks([math.radians(b) for b in range(0, 360, 45)])
    ax.set_xticklabels(["N 0°", "45°", "E 90°", "135°", "S 180°", "225°", "W 270°", "315°"])
    ticks = [f for f in (0.03, 0.04, 0.05, 0.07, 0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.7, 1.0, 1.5, 2.0, 3.0)
             if low < f < high]
    ax.set_yticks([math.log(f / low) for f in ticks], [f"{f:g}" for f in ticks])
    ax.set_rlabel_position(22.5)
    ax.set_ylim(0, math.log(high / low))
    ax.text(math.radians(22.5), math.log(high / low) * 1.1,
            f"frequency (Hz, logarithmic; centre {low:.3f})", ha="left", fontsize=10)
    ax.grid(True, alpha=0.4)
    title = f"{name}: full 2-D spectrum as read, {record_title(record)}\n"
    title += f"{parameters}; " if parameters else ""
    title += "direction = bearing the waves come from (270 minus the grid angle)"
    title += f"\n{facts}" if facts else ""
    ax.set_title(title, pad=18)
    plot_frequency_spectrum(lower, spectrum.frequencies, energy, record["peak_frequency"], band, "the record")
    figure.savefig(path, dpi=dpi)
    plt.close(figure)


# ---------------------------------------------------------------------------------------


def detect_mode(typed):
    first = lines_of(typed)[:1]
    looks_like_spectrum = bool(first) and len(first[0]) == 6 and first[0].replace(" ", "").isdigit()
    if not looks_like_spectrum:
        return 0
    brevolan = int(first[0][3:6]) == 35 and os.path.exists(derived_name(typed, "dat"))
    return 2 if brevolan else 1


class Parser(argparse.ArgumentParser):
    def _print_message(self, message, file=None):
        if message:
            (file or sys.stderr).write(message.replace("\r\n", "\n").replace("\n", "\r\n"))


def arguments(argv):
    parser = Parser(
        prog=PROGRAM,
        description="Check plots (PNG) of a ww3-brevolan run, from the output name typed in its dialogue.",
    )
    parser.add_argument("name", nargs="?",
                        help="the name typed at the output prompt: bay.out (mode 0) or bay.eng (modes 1, 2); "
                             "with --record RUN.json, the record's output name by default")
    parser.add_argument("--mode", type=int, choices=(0, 1, 2), help="the run's output mode (found from the files)")
    parser.add_argument("--record", metavar="RUN.json",
                        help="the run record written by ww3-brevolan --record (a yymmddhh here, as before, "
                             "chooses the record to draw like --stamp)")
    parser.add_argument("--stamp", type=int, metavar="YYMMDDHH", help="record to draw (default: the first)")
    parser.add_argument("--shoreline", type=float, metavar="DEG",
                        help="the shoreline orientation typed in mode 2 (default: estimated from the files)")
    parser.add_argument("--output-dir", metavar="DIR", help="where the PNG files go (default: beside the files)")
    parser.add_argument("--full-range", action="store_true",
                        help="draw the spectrum on every frequency of the file (default: where the energy is)")
    parser.add_argument("--dpi", type=int, default=100, help="resolution of the PNG files (default 100)")
    return parser.parse_args(argv)


def run(argv):
    options = arguments(argv)
    run_record = None
    if options.record is not None and options.record.isdigit():
        options.stamp = int(options.record) if options.stamp is None else options.stamp
    elif options.record is not None:
        run_record = read_run_record(options.record)
    typed = options.name
    if typed is None and run_record is not None:
        # The record names the output as the run was given it, from the run's folder:
        # taken here from the record's folder.
        typed = run_record["answers"]["output"]
        if not os.path.isabs(typed):
            typed = os.path.join(os.path.dirname(options.record), typed)
    if typed is None:
        raise Problem("give the output name of the run, or its run record with --record RUN.json")
    if options.mode is not None:
        mode = options.mode
    elif run_record is not None:
        mode = run_record["answers"]["mode"]
    else:
        mode = detect_mode(typed)
    facts = run_facts(run_record)
    folder = options.output_dir or os.path.dirname(typed) or "."
    os.makedirs(folder, exist_ok=True)
    name = stem(typed)
    try:
        plt = pyplot()
    except ImportError:
        raise Problem("matplotlib is missing (Debian: apt-get install python3-matplotlib)") from None
    written = []

    parameter_file = typed if mode == 0 else derived_name(typed, "out")
    full = read_parameter_file(parameter_file)
    half = read_parameter_file(derived_name(typed, "dat")) if mode == 2 else None
    series = os.path.join(folder, f"{name}_series.png")
    plot_series(plt, full, half, name, series, options.dpi)
    written.append(series)

    if mode == 1:
        spectrum = SpectrumFile(typed)
        record = spectrum.record(options.stamp)
        path = os.path.join(folder, f"{name}_spectrum_{record['stamp']}.png")
        plot_polar(plt, spectrum, record, name, path, options.dpi, options.full_range, facts,
                   hs_and_tp(parameters_at(full, record["stamp"])))
        written.append(path)
    elif mode == 2:
        spectrum = SpectrumFile(typed)
        if spectrum.direction_count != 35:
            raise Problem(f'"{typed}" has {spectrum.direction_count} directions, not the 35 of a Brevolan file')
        record = spectrum.record(options.stamp)
        orientation = run_record["answers"].get("orientation") if run_record is not None else None
        if options.shoreline is not None:
            bearing, note = bearing_from_orientation(options.shoreline), f"(orientation {options.shoreline:g}°)"
        elif orientation is not None:
            bearing, note = bearing_from_orientation(orientation), f"(orientation {orientation:g}°, run record)"
        else:
            table = read_brevolan_table(derived_name(typed, "txt"))
            bearing, note = shore_normal_bearing(half, table), "(estimated from the .dat and .txt files)"
        path = os.path.join(folder, f"{name}_halfplane_{record['stamp']}.png")
        plot_half_plane(plt, spectrum, record, bearing, note, name, path, options.dpi, options.full_range, facts,
                        hs_and_tp(parameters_at(half, record["stamp"])))
        written.append(path)

    for path in written:
        say(path)


def main(argv=None):
    try:
        run(sys.argv[1:] if argv is None else argv)
    except Problem as problem:
        say(f"{PROGRAM}: error: {problem}", sys.stderr)
        return EXIT_PROBLEM
    return 0


if __name__ == "__main__":
    sys.exit(main())
