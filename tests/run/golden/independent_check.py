#!/usr/bin/env python3
"""Recomputes the expected output files of a run from the WW3 file alone, without the
converter's code, and compares them byte for byte with the golden files.

Every value is rounded to single precision (float32) where the converter stores it, and
all arithmetic between stores is double, as Python's floats are. The fixed-field texts are
rendered with Python's own correctly rounded formatting (half to even on exact ties).

    independent_check.py WW3_FILE GOLDEN_FOLDER MODE [SHORELINE BOUNDARY_DEPTH]
"""
import math
import struct
import sys
from pathlib import Path


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


RAD = f32(0.017453292)
BIN = f32(0.08726646)
TURN = f32(6.2831855)


def fixed(v, w, d):
    if v != v:
        return "NaN".rjust(w) if w >= 3 else "*" * w
    digits = f"{abs(v):.{d}f}"
    ip, _, fp = digits.partition(".")
    negative = math.copysign(1.0, v) < 0 and any(c not in "0." for c in digits)
    core = ("" if ip == "0" else ip) + "." + fp
    sign = "-" if negative else ""
    if len(sign) + len(core) > w:
        return "*" * w
    if ip == "0" and len(sign) + len(core) < w:
        core = "0" + core
    return (sign + core).rjust(w)


def integer(v, w):
    text = str(v)
    return "*" * w if len(text) > w else text.rjust(w)


def read_ww3(path):
    lines = Path(path).read_text().split("\n")
    nf, nd = int(lines[0][24:30]), int(lines[0][30:36])
    pos = 1
    freqs = []
    while len(freqs) < nf:
        freqs += [f32(float(x)) for x in lines[pos].split()]
        pos += 1
    pos += (nd + 6) // 7
    records = []
    while pos < len(lines) and lines[pos].strip():
        date, time = (int(x) for x in lines[pos].split()[:2])
        point = lines[pos + 1].ljust(50)
        depth, speed, direction = (f32(float(point[a:b])) for a, b in ((29, 36), (36, 43), (43, 50)))
        pos += 2
        values = []
        while len(values) < nf * nd:
            values += [f32(float(x)) for x in lines[pos].split()]
            pos += 1
        spectrum = [[values[j * nf + i] for j in range(nd)] for i in range(nf)]
        records.append((date, time, depth, speed, direction, spectrum))
    return nf, nd, freqs, records


def bandwidths(freqs):
    nf = len(freqs)
    bw = [0.0] * nf
    for i in range(1, nf - 1):
        bw[i] = f32(0.5 * (freqs[i + 1] - freqs[i - 1]))
    bw[0], bw[-1] = bw[1], bw[-2]
    return bw


def compass(alpha):
    d = f32(270.0 - alpha / RAD)
    return f32(d - 360.0) if d > 360.0 else d


def parameters(rows, angles, freqs, bw, bin_width):
    """rows[i][k]: densities of frequency i; angles[k]: the angle of column k in radians."""
    total, energies = 0.0, []
    for i, row in enumerate(rows):
        s = 0.0
        for value in row:
            s += value
        p = s * bw[i]
        energies.append(f32(p))
        total = f32(total + p)
    peak, moment = 0, f32(energies[0] * freqs[0])
    for i in range(1, len(rows)):
        moment = f32(energies[i] * freqs[i] + moment)
        if energies[i] > energies[peak]:
            peak = i
    a = b = 0.0
    for k, angle in enumerate(angles):
        c, s = math.cos(angle), math.sin(angle)
        for row in rows:
            a += row[k] * c
            b += row[k] * s
    hs = f32(4.0 * math.sqrt(total * bin_width))
    tm = f32(total / moment) if moment != 0 else float("nan")
    return hs, f32(1.0 / freqs[peak]), tm, compass(math.atan2(b, a)), peak


def time_fields(date, time):
    year2 = (date - (date // 1000000) * 1000000) // 10000
    month = (date - (date // 10000) * 10000) // 100
    day = date - (date // 100) * 100
    hour, minute = time // 10000, (time - (time // 10000) * 10000) // 100
    return year2, month, day, hour, f32(hour + minute / 60.0), year2 * 1000000 + month * 10000 + day * 100 + hour


def parameter_line(t, hs, tp, tm, direction, speed, wind_direction):
    year2, month, day, _, decimal_hour, _ = t
    return (" " + integer(0, 3) + " " + integer(year2, 2) + " " + integer(month, 2) + " " + integer(day, 2) + " "
            + fixed(decimal_hour, 4, 1) + fixed(hs, 5, 2) + fixed(tp, 6, 1) + fixed(tm, 6, 1)
            + fixed(direction, 6, 0) + fixed(speed, 6, 1) + fixed(wind_direction, 6, 0) + "\r\n")


def spectral_header(freqs, nd):
    text = integer(len(freqs), 3) + integer(nd, 3) + "\r\n"
    for start in range(0, len(freqs), 10):
        text += "".join(fixed(f, 8, 5) for f in freqs[start:start + 10]) + "\r\n"
    return text


def spectral_block(stamp, speed, direction, peak_frequency, rows):
    text = (integer(stamp, 8) + "  " + fixed(speed, 6, 1) + "  " + fixed(direction, 9, 0) + "  "
            + fixed(peak_frequency, 8, 5) + "  " + fixed(0.0, 6, 2) + "\r\n")
    for row in rows:
        for start in range(0, len(row), 7):
            text += "".join(" " + fixed(v, 10, 5) for v in row[start:start + 7]) + "\r\n"
    return text


def half_plane(spectrum, nf, nd, o, depth_exponent):
    w = 360 // nd
    slots = []  # slots[i][m - 1]
    for i in range(nf):
        row = []
        for m in range(1, 361):
            k = (m + 8) // w + 1
            if k > nd:
                k -= nd
            row.append(spectrum[i][k - 1])
        for _ in range(2):
            row = [f32((row[(m - 3) % 360] + row[(m - 2) % 360] + row[m - 1] + row[m % 360] + row[(m + 1) % 360])
                       / 5.0) for m in range(1, 361)]
        slots.append(row)
    bins = []
    for i in range(nf):
        out = []
        for k in range(-17, 18):
            first = math.floor(o + 5 * k - 2)
            h = 0.0
            for t in range(5):
                h = f32(slots[i][(first + t - 1) % 360] / 5.0 + h)
            out.append(f32(h * math.cos(k * BIN) ** depth_exponent))
        bins.append(out)
    return bins


def expected_files(ww3_file, mode, shoreline=None, boundary=None):
    nf, nd, freqs, records = read_ww3(ww3_file)
    bw = bandwidths(freqs)
    step = f32(TURN / nd)
    files = {"station.out": ""}
    if mode == 1:
        files["station.eng"] = spectral_header(freqs, nd)
    if mode == 2:
        files.update({"station.eng": spectral_header(freqs, 35), "station.dat": ""})
        titles = ["METHOD", "OPTION", "TIME", "INDEX", "ANGLE(1)", "HS(1)", "TP(1)", "GAMMA(1)", "ANGLE(2)",
                  "HS(2)", "TP(2)", "GAMMA(2)", "WIND", "FETCH", "NN(1)", "NN(2)", "STDDEV(1)", "STDDEV(2)", "DEPTH"]
        files["station.txt"] = "SPECTRAL TABLE\r\n" + "".join(t.rjust(12) for t in titles) + "\r\n"
        o = f32(360.0 - shoreline)
        exponent = min(f32(math.log(records[0][2] / boundary)), 30.0)
    for date, time, depth, speed, direction, spectrum in records:
        t = time_fields(date, time)
        hs, tp, tm, mean, peak = parameters(spectrum, [j * step for j in range(nd)], freqs, bw, step)
        files["station.out"] += parameter_line(t, hs, tp, tm, mean, speed, direction)
        if mode == 1:
            files["station.eng"] += spectral_block(t[5], speed, direction, freqs[peak], spectrum)
        if mode == 2:
            bins = half_plane(spectrum, nf, nd, o, exponent)
            angles = [k * BIN + o * RAD for k in range(-17, 18)]
            hs, tp, tm, mean, peak = parameters(bins, angles, freqs, bw, BIN)
            files["station.dat"] += parameter_line(t, hs, tp, tm, mean, speed, direction)
            files["station.eng"] += spectral_block(t[5], speed, direction, freqs[peak], bins)
            relative = f32(270.0 - mean - o)
            while relative < 0:
                relative = f32(relative + 360.0)
            while relative >= 360:
                relative = f32(relative - 360.0)
            gamma = f32(3.0 + math.tanh(f32(0.1) / freqs[peak]))
            real = lambda v: "   " + fixed(v, 9, 4)
            files["station.txt"] += ("         " + integer(0, 3) + "         " + integer(-1, 3) + fixed(999.0, 12, 4)
                                     + "    " + integer(t[5], 8) + real(relative) + real(hs) + real(tp) + real(gamma)
                                     + real(999.0) * 4 + real(speed) + real(999.0) + "    " + integer(20, 8)
                                     + "    " + integer(0, 8) + real(999.0) * 2 + real(f32(boundary)) + "\r\n")
    return files


def main():
    ww3_file, golden, mode = sys.argv[1], Path(sys.argv[2]), int(sys.argv[3])
    extra = [f32(float(x)) for x in sys.argv[4:6]]  # the answers are read as single-precision reals
    expected = expected_files(ww3_file, mode, *extra)
    failures = 0
    for name, text in expected.items():
        actual = (golden / name).read_bytes().decode()
        if actual != text:
            failures += 1
            for number, (a, e) in enumerate(zip(actual.split("\n"), text.split("\n")), 1):
                if a != e:
                    print(f"{name} line {number}:\n  golden   {a!r}\n  expected {e!r}")
                    break
    print(f"{len(expected) - failures} of {len(expected)} files agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
