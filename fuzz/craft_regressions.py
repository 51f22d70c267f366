#!/usr/bin/env python3
"""Writes the hand-made inputs of fuzz/regressions/: small BMP files at the
edges the loader must get right (run-length escapes, truncation, masks,
declared sizes past the limits). The name says what the loader must do:
`loads-*` must give a bitmap, `refused-*` must give none. Inputs that
fuzz/run copies in keep libFuzzer's names and need only be survived.

    fuzz/craft_regressions.py    # rewrites the files in fuzz/regressions/
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "regressions")

BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS, BI_ALPHABITFIELDS = 0, 1, 2, 3, 6
OS2_RLE24 = 4


def info_header(width, height, bits, compression=BI_RGB, colours=0, size=40, masks=()):
    """A Windows bitmap header of `size` bytes; masks fill the V2/V3 fields."""
    head = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 2835, 2835,
                       colours, 0)
    extra = b"".join(struct.pack("<I", m) for m in masks)
    return (head + extra).ljust(size, b"\0")


def core_header(width, height, bits):
    return struct.pack("<IHHHH", 12, width, height, 1, bits)


def os2_header(width, height, bits, compression):
    return info_header(width, height, bits, compression, size=64)


def bmp(header, table=b"", pixels=b"", off_bits=None):
    """File header, bitmap header, table (colours or masks), pixels."""
    if off_bits is None:
        off_bits = 14 + len(header) + len(table)
    body = header + table + pixels
    return struct.pack("<HIHHI", 0x4D42, 14 + len(body), 0, 0, off_bits) + body


def grey_quads(count):
    return b"".join(bytes((i * 255 // max(count - 1, 1),) * 3) + b"\0" for i in range(count))


def rle8_every_escape():
    # 8 x 4: a run, an absolute run of odd length (padded to a word), an
    # end of line, a delta over part of a row, a run to the row's end, then
    # an end of line and the end-of-bitmap code.
    stream = bytes([
        3, 1,                  # three pixels of index 1
        0, 5, 2, 3, 4, 5, 6, 0,  # absolute: five indices and a pad byte
        0, 0,                  # end of line
        0, 2, 2, 1,            # delta: two right, one up
        4, 7,                  # four pixels of index 7 (columns 2..5)
        0, 0,                  # end of line
        8, 9,                  # a full row of index 9
        0, 1,                  # end of bitmap
    ])
    return bmp(info_header(8, 4, 8, BI_RLE8, colours=16), grey_quads(16), stream)


def rle4_odd_absolute():
    # 7 x 2: an absolute run of 3 nibbles (2 bytes, padded to a word), a run
    # of alternating nibbles, end of line, a full row, end of bitmap.
    stream = bytes([0, 3, 0x12, 0x30, 4, 0x45, 0, 0, 7, 0x67, 0, 1])
    return bmp(info_header(7, 2, 4, BI_RLE4, colours=16), grey_quads(16), stream)


def rle24_os2():
    # 4 x 1 OS/2 run-length 24-bit: a run of one pixel, then an absolute
    # run of three (nine bytes, padded to a word), then end of bitmap.
    stream = bytes([1, 10, 20, 30, 0, 3, 40, 50, 60, 70, 80, 90, 1, 2, 3, 0, 0, 1])
    return bmp(os2_header(4, 1, 24, OS2_RLE24), b"", stream)


def rle8_run_past_row_end():
    # A run of 9 in a row of 4: the 4 that fit are kept, as writers that code
    # row padding as pixels need.
    return bmp(info_header(4, 2, 8, BI_RLE8, colours=2), grey_quads(2), bytes([9, 1, 0, 1]))


def rle8_delta_past_top():
    # A delta that moves three rows up in a picture of two.
    return bmp(info_header(4, 2, 8, BI_RLE8, colours=2), grey_quads(2), bytes([0, 2, 0, 3, 1, 1, 0, 1]))


def rle4_absolute_past_file_end():
    # An absolute run announces 40 nibbles; the file holds two bytes of them.
    return bmp(info_header(64, 1, 4, BI_RLE4, colours=16), grey_quads(16), bytes([0, 40, 0x12, 0x34]))


def rle8_top_down():
    # Run-length pictures are bottom-up; a negative height is refused.
    return bmp(info_header(2, -2, 8, BI_RLE8, colours=2), grey_quads(2), bytes([2, 1, 0, 0, 2, 0, 0, 1]))


def rgb24_rows_cut_short():
    # 64 x 64 at 24 bits declares 12 KiB of rows; 100 bytes follow.
    return bmp(info_header(64, 64, 24), b"", bytes(range(100)))


def huge_declared_size():
    # 65536 x 65536 at 32 bits: 16 GiB of pixels, far past the 1 GiB limit,
    # from a file of a few dozen bytes.
    return bmp(info_header(65536, 65536, 32), b"", bytes(16))


def width_past_limit():
    # One row of 65537 one-bit pixels: wider than any bitmap may be.
    return bmp(info_header(65537, 1, 1, colours=2), grey_quads(2), bytes(16))


def negative_width():
    return bmp(info_header(-4, 4, 24), b"", bytes(48))


def bitfields_565_v5():
    # 4 x 2 at 16 bits, 5-6-5 masks in a 124-byte header, top-down.
    header = info_header(4, -2, 16, BI_BITFIELDS, size=124, masks=(0xF800, 0x07E0, 0x001F, 0))
    pixels = struct.pack("<8H", 0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410, 0x0821, 0x7BEF)
    return bmp(header, b"", pixels)


def alpha_bitfields_10_10_10_2():
    # 2 x 2 at 32 bits, BI_ALPHABITFIELDS: four masks after a 40-byte
    # header, channels of 10 bits and a 2-bit alpha.
    masks = struct.pack("<4I", 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000)
    pixels = struct.pack("<4I", 0xFFFFFFFF, 0x3FF00000, 0x400FFC00, 0x800003FF)
    return bmp(info_header(2, 2, 32, BI_ALPHABITFIELDS), masks, pixels)


def bitfields_overlapping():
    masks = struct.pack("<3I", 0xFF00, 0x0FF0, 0x000F)
    return bmp(info_header(2, 2, 16, BI_BITFIELDS), masks, bytes(8))


def bitfields_split_mask():
    # A green mask of two separate runs of bits.
    masks = struct.pack("<3I", 0xF800, 0x0660, 0x001F)
    return bmp(info_header(2, 2, 16, BI_BITFIELDS), masks, bytes(8))


def pixels_inside_header():
    data = bytearray(bmp(info_header(2, 2, 24), b"", bytes(16)))
    struct.pack_into("<I", data, 10, 20)  # pixel offset inside the bitmap header
    return bytes(data)


def core_1bit():
    # 9 x 3, one bit a pixel, a 12-byte OS/2 header and a table of triples.
    table = bytes([0, 0, 0, 255, 255, 255])
    rows = bytes([0xAA, 0x80, 0, 0, 0x55, 0x00, 0, 0, 0xFF, 0x80, 0, 0])
    return bmp(core_header(9, 3, 1), table, rows)


def indexed_without_table():
    # 8 bits a pixel and the pixels start right after the header: no colours.
    return bmp(info_header(4, 1, 8), b"", bytes(4))


def unknown_header_size():
    return bmp(info_header(2, 2, 24, size=48), b"", bytes(16))


FILES = {
    "loads-rle8-every-escape.bmp": rle8_every_escape,
    "loads-rle4-odd-absolute-run.bmp": rle4_odd_absolute,
    "loads-rle24-os2.bmp": rle24_os2,
    "loads-bitfields-565-v5-top-down.bmp": bitfields_565_v5,
    "loads-alphabitfields-10-10-10-2.bmp": alpha_bitfields_10_10_10_2,
    "loads-core-header-1bit.bmp": core_1bit,
    "loads-rle8-run-past-row-end.bmp": rle8_run_past_row_end,
    "refused-rle8-delta-past-top.bmp": rle8_delta_past_top,
    "refused-rle4-absolute-past-file-end.bmp": rle4_absolute_past_file_end,
    "refused-rle8-top-down.bmp": rle8_top_down,
    "refused-rgb24-rows-cut-short.bmp": rgb24_rows_cut_short,
    "refused-huge-declared-size.bmp": huge_declared_size,
    "refused-width-past-limit.bmp": width_past_limit,
    "refused-negative-width.bmp": negative_width,
    "refused-bitfields-overlapping.bmp": bitfields_overlapping,
    # LoadImageA refuses these two; the module's own reader then takes them
    # through CreateDIBSection, which accepts masks with gaps and any header
    # of 40 bytes or more, as the platform's does.
    "loads-bitfields-split-mask.bmp": bitfields_split_mask,
    "refused-pixels-inside-header.bmp": pixels_inside_header,
    "refused-indexed-without-table.bmp": indexed_without_table,
    "loads-unknown-header-size.bmp": unknown_header_size,
}


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, make in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(make())


if __name__ == "__main__":
    main()
