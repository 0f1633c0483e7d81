"""Prints an image file's size, mode and pixels as Pillow decodes it, for the tests to compare.

Output: "WIDTH HEIGHT MODE" on the first line, then one line per row of space-separated pixels,
each pixel as hex bytes of its bands (RGB or RGBA) in that order.
"""
import sys

from PIL import Image

image = Image.open(sys.argv[1])
image.load()
mode = "RGBA" if image.mode in ("RGBA", "LA", "PA") else "RGB"
rgb = image.convert(mode)
print(image.width, image.height, image.mode)
for y in range(image.height):
    print(" ".join(bytes(rgb.getpixel((x, y))).hex() for x in range(image.width)))
