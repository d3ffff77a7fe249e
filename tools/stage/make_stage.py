#!/usr/bin/env python3
"""Writes the stage's tile masks and tile index map under data/Texture/Map.

The stage is laid out below as runs of columns with a ground level each;
run it after changing the layout and commit what it writes.
"""
import os
import sys

COLUMNS, ROWS, TILE = 224, 40, 32

# Tile masks: rows of 32 digits, 1 solid, 0 free.
def rows_solid(first, last):
    return [("1" * TILE if first <= r <= last else "0" * TILE) for r in range(TILE)]

def cols_solid(first, last):
    line = "".join("1" if first <= c <= last else "0" for c in range(TILE))
    return [line] * TILE

EMPTY, FULL, GROUND, PLATFORM, LOW_HALF, HIGH_HALF, LEFT_HALF, RIGHT_HALF, DIP4, DIP8 = range(10)
TILES = [
    rows_solid(99, 99),   # empty
    rows_solid(0, 31),    # full
    rows_solid(4, 31),    # ground surface: top 4 rows free
    rows_solid(4, 19),    # thin platform, 16 px thick
    rows_solid(16, 31),   # lower half
    rows_solid(0, 15),    # upper half
    cols_solid(0, 15),    # left half
    cols_solid(16, 31),   # right half
    rows_solid(8, 31),    # ground 4 px lower (a shallow hollow)
    rows_solid(12, 31),   # ground 8 px lower
]

# Ground surface rows: the floor's top solid pixel is 32 * row + 4.
R900, R836, R772, R708 = 28, 26, 24, 22
PIT = None

# (first column, last column, ground row or PIT)
GROUND_RUNS = [
    (1, 30, R900),      # the start: the player stands at (300, 900)
    (31, 36, R836),     # a first ledge
    (37, 44, R900),
    (45, 49, PIT),      # a small pit: one jump
    (50, 64, R900),
    (65, 69, R836),     # steps up
    (70, 74, R772),
    (75, 79, R836),
    (80, 92, R900),
    (93, 105, PIT),     # the wide pit: jump, then glide
    (106, 120, R900),
    (121, 124, R836),   # a stair of ledges
    (125, 128, R772),
    (129, 132, R708),
    (133, 140, PIT),    # leap down across
    (141, 150, R900),
    (151, 154, R836),
    (155, 159, PIT),    # the last pit, far enough from the arena that no blow there throws into it
    (160, 222, R900),   # the last stretch and the boss's flat arena from x 6000
]

# Floating platforms: (first column, last column, tile row).
PLATFORMS = [
    (56, 61, R772 - 1),
    (142, 147, R836 - 1),
    (161, 166, R836 - 1),
]

# A shallow hollow near the start: (column, tile).
HOLLOWS = [(18, DIP4), (19, DIP8), (20, DIP8), (21, DIP4)]


def build():
    grid = [[EMPTY] * COLUMNS for _ in range(ROWS)]
    for r in range(ROWS):
        grid[r][0] = FULL
        grid[r][COLUMNS - 1] = FULL
    for first, last, row in GROUND_RUNS:
        if row is PIT:
            continue
        for c in range(first, last + 1):
            grid[row][c] = GROUND
            for r in range(row + 1, ROWS):
                grid[r][c] = FULL
    for first, last, row in PLATFORMS:
        for c in range(first, last + 1):
            grid[row][c] = PLATFORM
    for c, tile in HOLLOWS:
        grid[R900][c] = tile
    return grid


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data")
    out = os.path.join(root, "Texture", "Map")
    os.makedirs(out, exist_ok=True)
    for i, tile in enumerate(TILES):
        with open(os.path.join(out, "Map%02d.txt" % i), "w", newline="\n") as f:
            f.write("\n".join(tile) + "\n")
    with open(os.path.join(out, "MapHitData.txt"), "w", newline="\n") as f:
        for row in build():
            f.write("".join(str(t) for t in row) + "\n")
    with open(os.path.join(out, "MapImageData.txt"), "w", newline="\n") as f:
        f.write("0123456\n")


if __name__ == "__main__":
    main()
