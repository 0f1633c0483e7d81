// Helpers for the JPEG encoder tests: writing to memory, test pictures, walking the marker
// segments of a file, and the data units a file should hold, computed pixel by pixel.
#ifndef RASQET_TESTS_JPEGENCODER_ENCODERTESTSUPPORT_H
#define RASQET_TESTS_JPEGENCODER_ENCODERTESTSUPPORT_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/rasterimage.h"

namespace rasqet::test {

// Writes image with encoder into memory and returns the file's bytes.
std::vector<std::uint8_t> EncodeToMemory(Quorvante::JpegEncoder& encoder,
                                         const Quorvante::RasterImage& image);

// A picture with no symmetry and distinct smooth channels: red grows to the right, green
// downwards, blue follows a diagonal wave, and a bright patch sits near the top-left corner.
// Flips, transposes and channel swaps all change it badly.
Quorvante::RasterImage MakeTestPicture(std::int32_t width, std::int32_t height);

// Pseudo-random pixels (fixed seed), every byte value likely.
Quorvante::RasterImage MakeNoisePicture(std::int32_t width, std::int32_t height,
                                        std::uint32_t seed);

// One piece of a JPEG file. marker is the code byte after 0xFF; payload holds the bytes after
// the length field. Entropy-coded data between markers is a piece with marker 0 whose payload
// is the raw bytes, stuffing included.
struct Segment {
  std::uint8_t marker = 0;
  std::vector<std::uint8_t> payload;
};
std::vector<Segment> SplitSegments(const std::vector<std::uint8_t>& bytes);
// The markers in file order (0 for entropy-coded data).
std::vector<std::uint8_t> MarkerSequence(const std::vector<Segment>& segments);

// Quantized coefficients (natural order) that component componentId of a file should hold,
// for the blocks a decoder keeps (the component's own size in blocks), computed from each
// pixel on its own: conversion, edge replication, averaging, then the forward transform.
struct ExpectedComponent {
  int blocksWide = 0;
  int blocksHigh = 0;
  std::vector<std::array<std::int16_t, 64>> blocks;
};
struct Sampling {
  std::uint32_t horizontal = 1;
  std::uint32_t vertical = 1;
};
ExpectedComponent ExpectedDataUnits(const Quorvante::RasterImage& image, std::uint32_t quality,
                                    int componentId, const Sampling (&sampling)[3], bool grayscale);

// Peak signal-to-noise ratio of one channel (0 red, 1 green, 2 blue) of decoded RGB pixels
// against the image.
double ChannelPsnr(const Quorvante::RasterImage& image, const std::vector<std::uint8_t>& rgb,
                   int channel);

}  // namespace rasqet::test

#endif
