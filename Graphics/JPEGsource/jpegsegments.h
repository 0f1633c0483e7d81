// The marker segments of a JPEG file, one writer per segment, each writing the complete
// segment with the stream's byte operations. 16-bit fields are big-endian.
#ifndef QUORVANTE_JPEGSEGMENTS_H
#define QUORVANTE_JPEGSEGMENTS_H

#include <array>
#include <cstdint>
#include <string>

namespace Quorvante {

class JpegHuffmanTable;
class JpegQuantizationTable;
class OutputByteStream;

constexpr std::uint8_t kMarkerStartOfImage = 0xD8;
constexpr std::uint8_t kMarkerApplication0 = 0xE0;
constexpr std::uint8_t kMarkerComment = 0xFE;
constexpr std::uint8_t kMarkerBaselineFrame = 0xC0;
constexpr std::uint8_t kMarkerProgressiveFrame = 0xC2;
constexpr std::uint8_t kMarkerQuantizationTables = 0xDB;
constexpr std::uint8_t kMarkerHuffmanTables = 0xC4;
constexpr std::uint8_t kMarkerRestartInterval = 0xDD;
constexpr std::uint8_t kMarkerStartOfScan = 0xDA;
constexpr std::uint8_t kMarkerRestart0 = 0xD0;
constexpr std::uint8_t kMarkerEndOfImage = 0xD9;

// The comment every file carries after the caller's own.
extern const char kLibraryComment[];

// One component as the frame header lists it.
struct FrameComponent {
  std::uint8_t identifier;
  std::uint8_t horizontalFrequency;
  std::uint8_t verticalFrequency;
  std::uint8_t quantizationTable;
};

void WriteStartOfImage(OutputByteStream& stream);
// JFIF 1.1, aspect ratio 1:1, no thumbnail.
void WriteApplicationSegment(OutputByteStream& stream);
// The text (at most 65532 bytes) and a terminating zero byte.
void WriteCommentSegment(OutputByteStream& stream, const std::string& text);
// Start of frame marker (baseline 0xC0 or progressive 0xC2), 8-bit samples.
void WriteFrameHeader(OutputByteStream& stream, std::uint8_t frameMarker, std::uint16_t height,
                      std::uint16_t width, const FrameComponent* components, std::uint32_t count);
// One segment with every table whose used flag is set, in table-number order.
void WriteQuantizationTables(OutputByteStream& stream,
                             const std::array<JpegQuantizationTable, 4>& tables);
void WriteRestartInterval(OutputByteStream& stream, std::uint16_t interval);
// The tables of one scan pass: the luminance pair and/or the chrominance pair, of each pair
// the DC and/or the AC table.
void WriteHuffmanTables(OutputByteStream& stream, bool luminance, bool chrominance, bool withDc,
                        bool withAc, const std::array<JpegHuffmanTable, 2>& dcTables,
                        const std::array<JpegHuffmanTable, 2>& acTables);
// identifiers: the scan's components in the order Y, Cb, Cr. Component 1 selects tables 0,
// the others tables 1; a DC refinement pass selects 0 for all.
void WriteScanHeader(OutputByteStream& stream, const std::uint8_t* identifiers, std::uint32_t count,
                     std::uint8_t spectralStart, std::uint8_t spectralEnd,
                     std::uint8_t successiveApproximation, bool dcRefinement);
// Restart marker n (0 to 7).
void WriteRestartMarker(OutputByteStream& stream, std::uint32_t n);
void WriteEndOfImage(OutputByteStream& stream);

}  // namespace Quorvante

#endif
