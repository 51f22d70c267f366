"""Runs halftone_bench and its peers on the same picture files and prints the
comparison: one line per case with our median, the best peer's median and
our time as a share of it, and our time as a multiple of the case's floor
(memcpy of the bytes the case must read and write, or for a load read(2)
of the file into fresh pages); then the route each case took beside the
general route it replaces, how the stretch cost grows with the picture and
how much extra heap each call takes.

Peers: Pillow, and OpenCV on one thread. Run through bench/compare, which
builds the benchmarks and supplies the paths; it needs Debian's Python with
Debian's Pillow and OpenCV.
"""
import argparse
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys
import time
import timeit

import PIL
from PIL import Image
import cv2

SIDE = 4096
NARROW_SIDE = 1500  # the uneven reduction: 4096 -> 1500
UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
AUTORANGE_SECONDS = 0.2  # timeit's autorange: each timed batch lasts at least this


def run_ours(bench, pictures, repetitions, clock, simd_limit=None, benchmark_filter=None):
    """Median time (seconds, on `clock`), extra heap bytes and the route that
    ran (the benchmark's label) of every benchmark."""
    out = os.path.join(pictures, "bench.json")
    command = [bench, "--picture_dir=" + pictures,
               "--benchmark_repetitions=%d" % repetitions,
               "--benchmark_report_aggregates_only=true",
               "--benchmark_out=" + out, "--benchmark_out_format=json"]
    if simd_limit:
        command.append("--simd_limit=" + simd_limit)
    if benchmark_filter:
        command.append("--benchmark_filter=" + benchmark_filter)
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
            "seconds": entry[clock + "_time"] * UNIT_SECONDS[entry["time_unit"]],
            "extra_heap": entry.get("extra_heap_bytes"),
            "route": entry.get("label", ""),
        }
    return results


def median_seconds(action, repetitions, clock):
    """Median time of one call, from `repetitions` timed batches."""
    timer = timeit.Timer(action, timer=time.process_time if clock == "cpu" else time.perf_counter)
    number, _ = timer.autorange()  # also warms up
    batches = timer.repeat(repeat=repetitions, number=number)
    return statistics.median(batches) / number


def save_synced(image, path):
    """Pillow's BMP writer, then fsync: our writer syncs as it writes."""
    with open(path, "wb") as f:
        image.save(f, "BMP")
        f.flush()
        os.fsync(f.fileno())


def run_peers(pictures, repetitions, clock):
    """Median seconds of every peer, keyed by the name printed."""
    file24 = os.path.join(pictures, "picture24.bmp")
    file32 = os.path.join(pictures, "picture32.bmp")
    saved = os.path.join(pictures, "pillow-saved.bmp")
    rgb = Image.open(file24)
    rgb.load()
    # Pillow reads a 32-bit BI_RGB file as RGB; RGBX keeps four bytes a
    # pixel as our 32-bit bitmaps do (Pillow holds RGB in four bytes too).
    rgbx = Image.open(file32).convert("RGBX")
    # OpenCV on one thread, as our calls run; BGRA for the 32-bit cases.
    cv2.setNumThreads(1)
    bgr = cv2.imread(file24)
    bgra = cv2.cvtColor(cv2.imread(file32), cv2.COLOR_BGR2BGRA)
    peers = {}
    for mode, image in (("RGB", rgb), ("RGBX", rgbx)):
        peers["Pillow reduce(2) " + mode] = lambda im=image: im.reduce(2)
        peers["Pillow resize BOX " + mode] = lambda im=image: im.resize((NARROW_SIDE, NARROW_SIDE), Image.BOX)
        peers["Pillow resize NEAREST->2048 " + mode] = \
            lambda im=image: im.resize((SIDE // 2, SIDE // 2), Image.NEAREST)
        peers["Pillow resize NEAREST->1500 " + mode] = \
            lambda im=image: im.resize((NARROW_SIDE, NARROW_SIDE), Image.NEAREST)
    for mode, image in (("BGR", bgr), ("BGRA", bgra)):
        for side in (SIDE // 2, NARROW_SIDE):
            peers["OpenCV INTER_AREA->%d %s" % (side, mode)] = \
                lambda im=image, s=side: cv2.resize(im, (s, s), interpolation=cv2.INTER_AREA)
            peers["OpenCV INTER_NEAREST->%d %s" % (side, mode)] = \
                lambda im=image, s=side: cv2.resize(im, (s, s), interpolation=cv2.INTER_NEAREST)
    peers["Pillow BMP open+load"] = lambda: Image.open(file24).load()
    peers["OpenCV imread"] = lambda: cv2.imread(file24)
    peers["Pillow BMP save+fsync"] = lambda: save_synced(rgb, saved)
    results = {}
    for name, action in peers.items():
        print("timing %s" % name, file=sys.stderr, flush=True)
        results[name] = median_seconds(action, repetitions, clock)
    os.remove(saved)
    return results


MEMCPY24 = "memcpy/4096x4096/24bit"
PIXELS = SIDE * SIDE
NARROW_PIXELS = NARROW_SIDE * NARROW_SIDE


def stretch_peers(mode, bits, side):
    pillow = {("HALFTONE", 2048): "Pillow reduce(2)", ("HALFTONE", 1500): "Pillow resize BOX",
              ("COLORONCOLOR", 2048): "Pillow resize NEAREST->2048",
              ("COLORONCOLOR", 1500): "Pillow resize NEAREST->1500"}[(mode, side)]
    opencv = "OpenCV %s->%d" % ("INTER_AREA" if mode == "HALFTONE" else "INTER_NEAREST", side)
    return [pillow + (" RGB" if bits == 24 else " RGBX"), opencv + (" BGR" if bits == 24 else " BGRA")]


def stretch_bytes(mode, bits, side):
    """Bytes a reduction must read and write: an area average reads every
    source row, a nearest-pixel one only the rows it samples."""
    target_rows = SIDE // 2 if side == 2048 else NARROW_SIDE
    rows_read = SIDE if mode == "HALFTONE" else target_rows
    return rows_read * SIDE * bits // 8, target_rows * target_rows * bits // 8


def stretch_cases():
    cases = []
    for mode in ("HALFTONE", "COLORONCOLOR"):
        for bits in (24, 32):
            for side in (2048, 1500):
                name = "StretchBlt/%s/%dbit/4096->%d" % (mode, bits, side)
                read, write = stretch_bytes(mode, bits, side)
                peer_target = None
                if (mode, bits) == ("HALFTONE", 24):
                    peer_target = 0.7 if side == 2048 else 0.3
                cases.append((name, stretch_peers(mode, bits, side), read, write, peer_target, 1.5, ""))
    return cases


# The floor of a load is a benchmark of its own: read(2) of the whole file
# into freshly mapped pages, since a new bitmap's pages must be cleared by
# the kernel before anything is copied into them.
READ_FLOOR = "read/4096x4096/24bit/fresh-pages"

# (our benchmark, its peers, bytes it must read, bytes it must write, most
# ours/best peer the targets allow, most ours/floor, note); where the bytes
# are READ_FLOOR, that benchmark is the floor.
CASES = stretch_cases() + [
    # Raster operations: the source is read (but for PATINVERT), the
    # destination read (but for SRCCOPY) and written.
    ("BitBlt/SRCCOPY/24bit/4096x4096", [], PIXELS * 3, PIXELS * 3, None, 1.5, ""),
    ("BitBlt/SRCINVERT/24bit/4096x4096", [], PIXELS * 6, PIXELS * 3, None, 1.5, ""),
    ("BitBlt/PATINVERT/24bit/4096x4096", [], PIXELS * 3, PIXELS * 3, None, 1.5, ""),
    ("BitBlt/DSPDxax/24bit/4096x4096", [], PIXELS * 6, PIXELS * 3, None, 1.5, ""),
    ("AlphaBlend/perpixel/32bit/4096x4096", [], PIXELS * 8, PIXELS * 4, None, 1.5, ""),
    ("GetDIBits/4096x4096/24bit->32bit", [], PIXELS * 3, PIXELS * 4, None, 1.5, ""),
    ("GetDIBits/4096x4096/32bit->24bit", [], PIXELS * 4, PIXELS * 3, None, 1.5, ""),
    ("SetDIBits/4096x4096/24bit->32bit", [], PIXELS * 3, PIXELS * 4, None, 1.5, ""),
    ("SetDIBits/4096x4096/32bit->24bit", [], PIXELS * 4, PIXELS * 3, None, 1.5, ""),
    ("StretchDIBits/HALFTONE/24bit/4096->2048", stretch_peers("HALFTONE", 24, 2048), PIXELS * 3, PIXELS * 3 // 4, None, 1.5, ""),
    ("LoadImageA/4096x4096/24bit", ["Pillow BMP open+load", "OpenCV imread"], READ_FLOOR, None,
     0.3, 1.25, "floor: read(2) into fresh pages"),
    ("LoadBitmapFromFileA/4096x4096/24bit", ["Pillow BMP open+load", "OpenCV imread"], READ_FLOOR,
     None, None, None, ""),
    ("SaveBitmapToFileA/4096x4096/24bit/synced", ["Pillow BMP save+fsync"], PIXELS * 3, PIXELS * 3,
     None, None, "O_DSYNC"),
]

# Growth with size: the same reduction of three picture sizes.
GROWTH = [
    ("2:1", ["StretchBlt/HALFTONE/24bit/%d->%d" % (s, s // 2) for s in (1024, 2048, 4096, 8192)]),
    ("4096:1500", ["StretchBlt/HALFTONE/24bit/%d->%d" % (s, s * NARROW_SIDE // SIDE)
                   for s in (1024, 2048, 4096, 8192)]),
]


def milliseconds(seconds):
    return "%9.2f ms" % (seconds * 1e3)


def processor():
    """The processor's model name, family and model, and its widest vectors."""
    fields = {}
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if not line.strip():
                    break  # the first processor is enough
                key, _, value = line.partition(":")
                fields[key.strip()] = value.strip()
    except OSError:
        pass
    flags = set(fields.get("flags", "").split())
    if {"avx512f", "avx512bw", "avx512vl", "avx512vbmi", "avx512_vnni"} <= flags:
        vectors = "AVX-512 with VBMI and VNNI"
    elif "avx512f" in flags:
        vectors = "AVX-512 without VBMI or VNNI"
    elif "avx2" in flags:
        vectors = "AVX2, no AVX-512"
    else:
        vectors = "no AVX2"
    return "%s (%s family %s model %s; %s)" % (
        fields.get("model name", "unknown"), fields.get("vendor_id", "?"), fields.get("cpu family", "?"),
        fields.get("model", "?"), vectors)


def print_header(repetitions, clock):
    print("date: %s" % datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z"))
    print("machine: %s, %d cores; Python %s, Pillow %s, OpenCV %s (1 thread)" % (
        processor(), os.cpu_count() or 0, platform.python_version(), PIL.__version__, cv2.__version__))
    print("medians of %d repetitions of %s time, one run, the same %d x %d pictures" % (
        repetitions, "process CPU" if clock == "cpu" else "wall", SIDE, SIDE))
    print("/peer = ours / the best peer's; /floor = ours / memcpy of the bytes the case reads and writes")
    print()


def verdict(ratio, most):
    if most is None:
        return ""
    return "<= %g %s" % (most, "met" if ratio <= most else "MISSED")


def print_cases(ours, peers):
    # A memcpy of n bytes reads n and writes n: the floor of a case scales
    # the measured copy of the 24-bit picture by the bytes the case moves.
    copy = ours[MEMCPY24]["seconds"]
    copied = 2 * PIXELS * 3
    print("%-42s %12s  %-28s %12s %6s %-11s %12s %6s %s" % (
        "case", "ours", "best peer", "peer", "/peer", "target", "floor", "/floor", "target"))
    for name, names, read, write, peer_most, floor_most, note in CASES:
        mine = ours[name]["seconds"]
        if read == READ_FLOOR:
            floor = ours[READ_FLOOR]["seconds"]
        else:
            floor = copy * (read + write) / copied
        peer_cells = "%-28s %12s %6s %-11s" % ("", "", "", "")
        if names:
            best = min(names, key=lambda n: peers[n])
            ratio = mine / peers[best]
            peer_cells = "%-28s %12s %6.2f %-11s" % (
                best, milliseconds(peers[best]), ratio, verdict(ratio, peer_most))
        print("%-42s %12s  %s %12s %6.2f %s%s" % (
            name, milliseconds(mine), peer_cells, milliseconds(floor), mine / floor,
            verdict(mine / floor, floor_most), (" (" + note + ")") if note else ""))
    print()


GENERAL = "/general"
# A dedicated route is flagged when it takes longer than the general route
# by more than the noise of one run on a shared machine.
SLOWER_MARGIN = 1.05


def print_routes(ours):
    """The route each case took, and beside it the general route the
    dedicated one replaces, timed on the same pictures with the dedicated
    routes off: a fast path slower than what it replaces is flagged."""
    print("routes: what ran, and the general route on the same job (dedicated routes off)")
    print("%-42s %-44s %12s %-40s %12s %6s" % ("case", "route", "ours", "general route", "general", "/gen"))
    for name, *_ in CASES:
        entry = ours.get(name)
        if entry is None or not entry["route"]:
            continue
        general = ours.get(name + GENERAL)
        cells = ""
        if general is not None:
            ratio = entry["seconds"] / general["seconds"]
            same = general["route"] == entry["route"]
            flag = "" if same or ratio <= SLOWER_MARGIN else "  SLOWER than the general route"
            cells = "%-40s %12s %6.2f%s" % ("(the same)" if same else general["route"],
                                           milliseconds(general["seconds"]), ratio, flag)
        print("%-42s %-44s %12s %s" % (name, entry["route"], milliseconds(entry["seconds"]), cells))
    print()


LIMITS = ("portable", "ssse3", "avx2", "all")


def print_limits(bench, pictures, repetitions, clock):
    """Every stretch and blit case under each SIMD limit, with the route
    each took; a limit slower than a lower one (a vector route slower than
    the one it replaces) is flagged."""
    runs = {}
    for limit in LIMITS:
        runs[limit] = run_ours(bench, pictures, repetitions, clock, simd_limit=limit,
                               benchmark_filter="^(StretchBlt|BitBlt)/[A-Za-z]+/[0-9]+bit/4096(x4096|->[0-9]+)/real_time$")
    print("by SIMD limit (standin::LimitSimd): median time and the route that ran")
    print("%-42s %s" % ("case", "".join("%-34s" % limit for limit in LIMITS)))
    for name in [c[0] for c in CASES if c[0] in runs["all"]]:
        cells, flags = [], []
        for i, limit in enumerate(LIMITS):
            entry = runs[limit][name]
            cells.append("%-34s" % ("%s %s" % (milliseconds(entry["seconds"]).strip(), entry["route"]))[:33])
            for lower in LIMITS[:i]:
                below = runs[lower][name]
                if below["route"] != entry["route"] and entry["seconds"] > below["seconds"] * SLOWER_MARGIN:
                    flags.append("%s slower than %s" % (limit, lower))
        print("%-42s %s%s" % (name, " ".join(cells), ("  SLOWER: " + ", ".join(flags)) if flags else ""))
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
    for name, *_ in CASES:
        extra = ours[name]["extra_heap"]
        if extra is None:
            continue
        print("  %-42s %10.0f bytes  (%.1f per source column)" % (name, extra, extra / SIDE))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bench", required=True, help="the halftone_bench program")
    parser.add_argument("--pictures", required=True, help="directory for the picture files")
    parser.add_argument("--repetitions", type=int, default=5)
    # CPU time by default: on a machine others share, wall time mostly
    # measures their load. Every peer runs on one thread, as ours do.
    parser.add_argument("--clock", choices=("cpu", "real"), default="cpu")
    parser.add_argument("--simd-limits", action="store_true",
                        help="also time the stretch and blit cases under every SIMD limit")
    args = parser.parse_args()
    ours = run_ours(args.bench, args.pictures, args.repetitions, args.clock)
    peers = run_peers(args.pictures, args.repetitions, args.clock)
    print_header(args.repetitions, args.clock)
    print_cases(ours, peers)
    print_routes(ours)
    if args.simd_limits:
        print_limits(args.bench, args.pictures, args.repetitions, args.clock)
    print_growth(ours)
    print_heap(ours)


if __name__ == "__main__":
    main()
