"""Runs halftone_bench and its peers on the same picture files and prints the
comparison: one line per case with our median, the peer's median and how
many times faster we are (peer / ours), then how the stretch cost grows with
the picture and how much extra heap each call takes.

Run through bench/compare, which builds the benchmarks and supplies the
paths; it needs Debian's Python with Debian's Pillow.
"""
import argparse
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys
import timeit

import PIL
from PIL import Image

SIDE = 4096
NARROW_SIDE = 1500  # the uneven reduction: 4096 -> 1500
UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
AUTORANGE_SECONDS = 0.2  # timeit's autorange: each timed batch lasts at least this


def run_ours(bench, pictures, repetitions):
    """Median wall time (seconds) and extra heap bytes of every benchmark."""
    out = os.path.join(pictures, "bench.json")
    command = [bench, "--picture_dir=" + pictures,
               "--benchmark_repetitions=%d" % repetitions,
               "--benchmark_report_aggregates_only=true",
               "--benchmark_out=" + out, "--benchmark_out_format=json"]
    print("running %s" % os.path.basename(bench), file=sys.stderr, flush=True)
    # Google Benchmark's own report goes to stderr as progress.
    subprocess.run(command, check=True, stdout=sys.stderr)
    with open(out) as f:
        report = json.load(f)
    results = {}
    for entry in report["benchmarks"]:
        if entry.get("error_occurred"):
            sys.exit("benchmark %s failed: %s" % (entry["name"], entry.get("error_message")))
        if entry.get("aggregate_name") != "median":
            continue
        name = entry["run_name"]
        if name.endswith("/real_time"):
            name = name[: -len("/real_time")]
        results[name] = {
            "seconds": entry["real_time"] * UNIT_SECONDS[entry["time_unit"]],
            "extra_heap": entry.get("extra_heap_bytes"),
        }
    return results


def median_seconds(action, repetitions):
    """Median time of one call, from `repetitions` timed batches."""
    timer = timeit.Timer(action)
    number, _ = timer.autorange()  # also warms up
    batches = timer.repeat(repeat=repetitions, number=number)
    return statistics.median(batches) / number


def save_synced(image, path):
    """Pillow's BMP writer, then fsync: our writer syncs as it writes."""
    with open(path, "wb") as f:
        image.save(f, "BMP")
        f.flush()
        os.fsync(f.fileno())


def run_peers(pictures, repetitions):
    """Median seconds of every Pillow peer, keyed by the name printed."""
    file24 = os.path.join(pictures, "picture24.bmp")
    file32 = os.path.join(pictures, "picture32.bmp")
    saved = os.path.join(pictures, "pillow-saved.bmp")
    rgb = Image.open(file24)
    rgb.load()
    # Pillow reads a 32-bit BI_RGB file as RGB; RGBX keeps four bytes a
    # pixel as our 32-bit bitmaps do (Pillow holds RGB in four bytes too).
    rgbx = Image.open(file32).convert("RGBX")
    peers = {}
    for mode, image in (("RGB", rgb), ("RGBX", rgbx)):
        peers["Pillow reduce(2) " + mode] = lambda im=image: im.reduce(2)
        peers["Pillow resize BOX " + mode] = lambda im=image: im.resize((NARROW_SIDE, NARROW_SIDE), Image.BOX)
        peers["Pillow resize NEAREST->2048 " + mode] = \
            lambda im=image: im.resize((SIDE // 2, SIDE // 2), Image.NEAREST)
        peers["Pillow resize NEAREST->1500 " + mode] = \
            lambda im=image: im.resize((NARROW_SIDE, NARROW_SIDE), Image.NEAREST)
    peers["Pillow BMP open+load"] = lambda: Image.open(file24).load()
    peers["Pillow BMP save+fsync"] = lambda: save_synced(rgb, saved)
    results = {}
    for name, action in peers.items():
        print("timing %s" % name, file=sys.stderr, flush=True)
        results[name] = median_seconds(action, repetitions)
    os.remove(saved)
    return results


# (our benchmark, its peer, least speed ratio peer/ours the target asks, note)
MEMCPY24 = "memcpy/4096x4096/24bit"
CASES = [
    ("StretchBlt/HALFTONE/24bit/4096->2048", "Pillow reduce(2) RGB", 1.0, "aim 2"),
    ("StretchBlt/HALFTONE/24bit/4096->1500", "Pillow resize BOX RGB", 2.0, ""),
    ("StretchBlt/HALFTONE/32bit/4096->2048", "Pillow reduce(2) RGBX", None, ""),
    ("StretchBlt/HALFTONE/32bit/4096->1500", "Pillow resize BOX RGBX", 2.0, ""),
    ("StretchBlt/COLORONCOLOR/24bit/4096->2048", "Pillow resize NEAREST->2048 RGB", None, ""),
    ("StretchBlt/COLORONCOLOR/24bit/4096->1500", "Pillow resize NEAREST->1500 RGB", None, ""),
    ("StretchBlt/COLORONCOLOR/32bit/4096->2048", "Pillow resize NEAREST->2048 RGBX", None, ""),
    ("StretchBlt/COLORONCOLOR/32bit/4096->1500", "Pillow resize NEAREST->1500 RGBX", None, ""),
    ("BitBlt/SRCCOPY/24bit/4096x4096", MEMCPY24, None, "floor"),
    ("BitBlt/SRCINVERT/24bit/4096x4096", MEMCPY24, None, "floor"),
    ("BitBlt/PATINVERT/24bit/4096x4096", MEMCPY24, None, "floor"),
    ("BitBlt/DSPDxax/24bit/4096x4096", MEMCPY24, None, "floor"),
    ("GetDIBits/4096x4096/24bit->32bit", MEMCPY24, 0.5, "floor"),
    ("GetDIBits/4096x4096/32bit->24bit", MEMCPY24, 0.5, "floor"),
    ("SetDIBits/4096x4096/24bit->32bit", MEMCPY24, 0.5, "floor"),
    ("SetDIBits/4096x4096/32bit->24bit", MEMCPY24, 0.5, "floor"),
    ("LoadImageA/4096x4096/24bit", "Pillow BMP open+load", 2.0, ""),
    ("LoadBitmapFromFileA/4096x4096/24bit", "Pillow BMP open+load", None, ""),
    ("SaveBitmapToFileA/4096x4096/24bit/synced", "Pillow BMP save+fsync", None, "O_DSYNC"),
]

# Growth with size: the same reduction of three picture sizes.
GROWTH = [
    ("2:1", ["StretchBlt/HALFTONE/24bit/%d->%d" % (s, s // 2) for s in (1024, 2048, 4096, 8192)]),
    ("4096:1500", ["StretchBlt/HALFTONE/24bit/%d->%d" % (s, s * NARROW_SIDE // SIDE)
                   for s in (1024, 2048, 4096, 8192)]),
]


def milliseconds(seconds):
    return "%9.2f ms" % (seconds * 1e3)


def print_header(repetitions):
    model = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            model = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    print("date: %s" % datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z"))
    print("machine: %s, %d cores; Python %s, Pillow %s" % (
        model, os.cpu_count() or 0, platform.python_version(), PIL.__version__))
    print("medians of %d repetitions, one run, the same %d x %d pictures; "
          "x faster = peer / ours" % (repetitions, SIDE, SIDE))
    print()


def print_cases(ours, peers):
    print("%-42s %12s  %-33s %12s %9s  %s" % ("case", "ours", "peer", "peer", "x faster", "target"))
    for name, peer, least, note in CASES:
        mine = ours[name]["seconds"]
        theirs = ours[peer]["seconds"] if peer in ours else peers[peer]
        ratio = theirs / mine
        target = ""
        if least is not None:
            target = ">= %.1f %s" % (least, "met" if ratio >= least else "MISSED")
        if note:
            target = (target + " (" + note + ")").strip()
        print("%-42s %12s  %-33s %12s %9.2f  %s" % (
            name, milliseconds(mine), peer, milliseconds(theirs), ratio, target))
    print()


def print_growth(ours):
    print("HALFTONE 24-bit by picture size: time per source pixel (flat when the cost is")
    print("linear in pixels) and extra heap per source column (flat when it is O(width)):")
    for label, names in GROWTH:
        costs = []
        for name in names:
            side = int(name.rsplit("/", 1)[1].split("->")[0])
            costs.append((side, ours[name]["seconds"] / (side * side) * 1e9,
                          ours[name]["extra_heap"] / side))
        cells = "  ".join("%d^2: %.3f ns, %.1f B" % c for c in costs)
        # The smaller pictures fit the last-level cache; the last two do not.
        print("  %-10s %s   (time, %d^2 / %d^2: %.2f)" % (
            label, cells, costs[-1][0], costs[-2][0], costs[-1][1] / costs[-2][1]))
    print()


def print_heap(ours):
    print("extra heap per call (peak bytes held beyond the bitmaps; width %d):" % SIDE)
    for name, _, _, _ in CASES:
        extra = ours[name]["extra_heap"]
        if extra is None:
            continue
        print("  %-42s %10.0f bytes  (%.1f per source column)" % (name, extra, extra / SIDE))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bench", required=True, help="the halftone_bench program")
    parser.add_argument("--pictures", required=True, help="directory for the picture files")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    ours = run_ours(args.bench, args.pictures, args.repetitions)
    peers = run_peers(args.pictures, args.repetitions)
    print_header(args.repetitions)
    print_cases(ours, peers)
    print_growth(ours)
    print_heap(ours)


if __name__ == "__main__":
    main()
