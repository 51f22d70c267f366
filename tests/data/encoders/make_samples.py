"""Writes the encoder sample set; run through make-samples beside it."""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from PIL import Image

# The pictures every encoder starts from: odd sizes, smooth ramps beside
# flat blocks (runs for the run-length writers), and an alpha ramp.
SIZES = {"37x23": (37, 23), "1x1": (1, 1)}
RUNS_SIZE = (300, 4)  # rows longer than the longest run a writer can code


def colour(x, y):
    if x < 12:  # flat blocks
        return ((x // 4) * 90, (y // 6) * 70, 200)
    return ((x * 7) % 256, (y * 11) % 256, (x * y * 3) % 256)


def picture(size, alpha=False, colours=None):
    w, h = size
    im = Image.new("RGBA", size)
    for y in range(h):
        for x in range(w):
            r, g, b = colour(x, y)
            if colours == 2:
                r = g = b = 255 if (x + y) % 3 else 0
            elif colours == 16:
                r, g, b = (r // 128) * 255, (g // 128) * 255, (b // 64) * 85
            a = 255 if not alpha or x < w - 8 else max(0, 255 - (w - x) * 30)
            im.putpixel((x, y), (r, g, b, a))
    return im if alpha else im.convert("RGB")


def runs_picture():
    w, h = RUNS_SIZE
    im = Image.new("RGB", RUNS_SIZE)
    for y in range(h):
        for x in range(w):
            im.putpixel((x, y), (0, 0, 255) if x < 280 - y * 50 else (255, 255, 0) if x % 7 else (255, 0, 0))
    return im


# ImageMagick: every BMP writer (BMP2: Windows 2 header, BMP3: 40-byte
# header, BMP: V4/V5 header) at each type it offers.
IM_TYPES = {
    "bilevel": ["-type", "bilevel"],
    "pal16": ["-colors", "16", "-type", "palette"],
    "palette": ["-type", "palette"],
    "grey": ["-type", "grayscale"],
    "truecolor": ["-type", "truecolor"],
}
IM_ONLY = {
    # run-length output: 8-bit palettes from BMP3: and BMP:
    ("BMP3", "rle"): ("opaque", ["-type", "palette", "-compress", "RLE"]),
    ("BMP3", "rle-pal16"): ("opaque", ["-colors", "16", "-type", "palette", "-compress", "RLE"]),
    ("BMP3", "rle-runs"): ("runs", ["-type", "palette", "-compress", "RLE"]),
    ("BMP3", "rle-grey"): ("opaque", ["-type", "grayscale", "-compress", "RLE"]),
    ("BMP", "rle"): ("opaque", ["-type", "palette", "-compress", "RLE"]),
    ("BMP", "rle-runs"): ("runs", ["-type", "palette", "-compress", "RLE"]),
    # alpha
    ("BMP3", "alpha"): ("alpha", ["-define", "bmp3:alpha=true"]),
    ("BMP", "alpha"): ("alpha", ["-type", "truecoloralpha"]),
    ("BMP", "greyalpha"): ("alpha", ["-type", "grayscalealpha"]),  # 108-byte header
    # 16-bit bitfields
    ("BMP", "rgb565"): ("opaque", ["-define", "bmp:subtype=RGB565"]),
    ("BMP", "rgb555"): ("opaque", ["-define", "bmp:subtype=RGB555"]),
    ("BMP", "argb4444"): ("alpha", ["-define", "bmp:subtype=ARGB4444"]),
    ("BMP", "argb1555"): ("alpha", ["-define", "bmp:subtype=ARGB1555"]),
}


def run(args, **kw):
    return subprocess.run(args, check=True, capture_output=True, **kw).stdout


def im_samples(src, out):
    made = []
    for size in SIZES:
        for fmt in ("BMP2", "BMP3", "BMP"):
            for kind, opts in IM_TYPES.items():
                name = f"im-{fmt.lower()}-{kind}-{size}"
                run(["convert", src[("opaque", size)], *opts, f"{fmt}:{out}/{name}.bmp"])
                made.append((name, f"convert {' '.join(opts)} {fmt}:"))
        for (fmt, kind), (source, opts) in IM_ONLY.items():
            if source == "runs" and size != "37x23":
                continue
            name = f"im-{fmt.lower()}-{kind}-{size if source != 'runs' else 'x'.join(map(str, RUNS_SIZE))}"
            run(["convert", src[(source, size)], *opts, f"{fmt}:{out}/{name}.bmp"])
            made.append((name, f"convert {' '.join(opts)} {fmt}:"))
    return made


def pillow_samples(src, out):
    made = []
    for size in SIZES:
        opaque = Image.open(src[("opaque", size)])
        modes = {
            "1": opaque.convert("1"),
            "L": opaque.convert("L"),
            "P": opaque.convert("P", palette=Image.ADAPTIVE, colors=200),
            "RGB": opaque,
            "RGBA": Image.open(src[("alpha", size)]),
        }
        for mode, im in modes.items():
            name = f"pillow-{mode.lower()}-{size}"
            im.save(f"{out}/{name}.bmp", "BMP")
            made.append((name, f"Pillow save, mode {mode}"))
    return made


def netpbm_samples(src, out):
    made = []
    for size in SIZES:
        for bpp, source in ((1, "two"), (4, "sixteen"), (8, "opaque-256"), (24, "opaque-ppm")):
            for flavour in ("windows", "os2"):
                name = f"netpbm-{flavour}-{bpp}bpp-{size}"
                data = run(["ppmtobmp", f"-{flavour}", "-bpp", str(bpp), src[(source, size)]])
                with open(f"{out}/{name}.bmp", "wb") as f:
                    f.write(data)
                made.append((name, f"ppmtobmp -{flavour} -bpp {bpp}"))
    return made


def channel_widths(path):
    """Bits of red, green and blue where the file stores fewer than 8."""
    data = open(path, "rb").read()
    header = struct.unpack_from("<I", data, 14)[0]
    if header < 40:
        return None
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits != 16 and compression not in (3, 6):
        return None
    if compression in (3, 6):
        masks = struct.unpack_from("<III", data, 54)
    else:
        masks = (0x7C00, 0x03E0, 0x001F)
    return [bin(m).count("1") for m in masks]


def widen(picture, widths):
    """Each channel back to the code the file holds, widened by replication."""
    out = bytearray(picture.tobytes())
    for i in range(len(out)):
        n = widths[i % 3]
        if n >= 8 or n == 0:
            continue
        code = (out[i] * ((1 << n) - 1) + 127) // 255
        value = code << (8 - n)
        shift = n
        while shift < 8:
            value |= (code << (8 - n)) >> shift
            shift += n
        out[i] = value & 0xFF
    return Image.frombytes("RGB", picture.size, bytes(out))


def bitfields_reading(path):
    """Uncompressed 16- or 32-bit masked pixels read directly: a reader of
    its own for the mask layouts the other decoders do not all take."""
    data = open(path, "rb").read()
    offset, header, width, height = struct.unpack_from("<IIii", data, 10)
    if header < 40:
        return None
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits not in (16, 32) or compression not in (3, 6):
        return None
    masks = struct.unpack_from("<III", data, 54)
    stride = (width * bits + 31) // 32 * 4
    out = bytearray()
    for row in range(abs(height)):
        y = abs(height) - 1 - row if height > 0 else row
        for x in range(width):
            at = offset + y * stride + x * bits // 8
            v = struct.unpack_from("<H" if bits == 16 else "<I", data, at)[0]
            for m in masks:
                shift = (m & -m).bit_length() - 1
                n = bin(m).count("1")
                code = (v & m) >> shift
                out.append((code * 255 + ((1 << n) - 1) // 2) // ((1 << n) - 1))
    return Image.frombytes("RGB", (width, abs(height)), bytes(out))


def decodings(path):
    found = {}
    direct = bitfields_reading(path)
    if direct is not None:
        found["masks read directly"] = direct
    try:
        with Image.open(path) as im:
            found["Pillow"] = im.convert("RGBA").convert("RGB") if im.mode in ("RGBA", "LA") else im.convert("RGB")
    except Exception:
        pass
    for decoder, args in (("ImageMagick", ["convert", path, "-alpha", "off", "-depth", "8", "ppm:-"]),
                          ("bmptopnm", ["bash", "-c", f"set -o pipefail; bmptopnm -quiet '{path}' | pnmdepth 255"])):
        try:
            found[decoder] = Image.open(io.BytesIO(run(args))).convert("RGB")
        except Exception:
            pass
    return found


def expected_pixels(path):
    found = decodings(path)
    widths = channel_widths(path)
    if widths and 4 in widths:
        # ImageMagick 6.9.11 reads 4-bit mask channels one code step low
        # (code 11 comes back as 170, not 187).
        found.pop("ImageMagick", None)
    if len(found) < 2:
        sys.exit(f"{path}: only {list(found)} read it")
    if widths:
        found = {k: widen(v, widths) for k, v in found.items()}
    pictures = list(found.values())
    for decoder, im in found.items():
        if im.tobytes() != pictures[0].tobytes():
            sys.exit(f"{path}: {decoder} disagrees with {list(found)[0]}")
    return pictures[0], sorted(found)


def main(folder):
    tmp = tempfile.mkdtemp()
    try:
        src = {}
        for size, dims in SIZES.items():
            for kind, im in (("opaque", picture(dims)), ("alpha", picture(dims, alpha=True)),
                             ("two", picture(dims, colours=2)), ("sixteen", picture(dims, colours=16))):
                src[(kind, size)] = f"{tmp}/{kind}-{size}.png" if kind in ("opaque", "alpha") else f"{tmp}/{kind}-{size}.ppm"
                im.save(src[(kind, size)])
            src[("opaque-256", size)] = f"{tmp}/opaque-256-{size}.ppm"
            picture(dims).quantize(200).convert("RGB").save(src[("opaque-256", size)])
            src[("opaque-ppm", size)] = f"{tmp}/opaque-{size}.ppm"
            picture(dims).save(src[("opaque-ppm", size)])
            src[("runs", size)] = f"{tmp}/runs.png"
        runs_picture().save(f"{tmp}/runs.png")

        for old in os.listdir(folder):
            if old.endswith(".bmp"):
                os.remove(os.path.join(folder, old))
        shutil.rmtree(os.path.join(folder, "expected"), ignore_errors=True)
        os.makedirs(os.path.join(folder, "expected"))
        made = im_samples(src, folder) + pillow_samples(src, folder) + netpbm_samples(src, folder)
        lines = []
        for name, how in made:
            path = os.path.join(folder, name + ".bmp")
            expected, decoders = expected_pixels(path)
            expected.save(os.path.join(folder, "expected", name + ".ppm"))
            lines.append(f"{name}.bmp\t{how}\t{'+'.join(decoders)}")
        with open(os.path.join(folder, "samples.tsv"), "w") as f:
            f.write("# file\thow it was written\tdecoders that agree on expected/NAME.ppm\n")
            f.write("\n".join(lines) + "\n")
        print(f"{len(made)} samples in {folder}")
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main(sys.argv[1])
