#include "Graphics/JPEGsource/jpegsegments.h"

#include <cstring>

#include "Graphics/JPEGsource/jpghuffmantable.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/outputbytestream.h"

namespace Quorvante {

const char kLibraryComment[] = "Created using the Quorvante Builders JPEG library";

namespace {

void WriteMarker(OutputByteStream& stream, std::uint8_t code) {
  stream.WriteByte(0xFF);
  stream.WriteByte(code);
}

}  // namespace

void WriteStartOfImage(OutputByteStream& stream) {
  WriteMarker(stream, kMarkerStartOfImage);
}

void WriteApplicationSegment(OutputByteStream& stream) {
  static const std::uint8_t kJfif[16] = {
      0x00, 0x10,                    // length
      0x4A, 0x46, 0x49, 0x46, 0x00,  // "JFIF" and a zero byte
      1,    1,                       // version 1.1
      0,                             // density units: aspect ratio only
      0x00, 0x01, 0x00, 0x01,        // horizontal and vertical density 1
      0,    0,                       // no thumbnail
  };
  WriteMarker(stream, kMarkerApplication0);
  stream.Write(kJfif, sizeof kJfif);
}

void WriteCommentSegment(OutputByteStream& stream, const std::string& text) {
  WriteMarker(stream, kMarkerComment);
  stream.WriteBigEndianWord(static_cast<std::uint16_t>(text.size() + 3));
  stream.Write(text.data(), static_cast<std::int32_t>(text.size()));
  stream.WriteByte(0);
}

void WriteFrameHeader(OutputByteStream& stream, std::uint8_t frameMarker, std::uint16_t height,
                      std::uint16_t width, const FrameComponent* components, std::uint32_t count) {
  WriteMarker(stream, frameMarker);
  stream.WriteBigEndianWord(static_cast<std::uint16_t>(8 + 3 * count));
  stream.WriteByte(8);  // sample precision
  stream.WriteBigEndianWord(height);
  stream.WriteBigEndianWord(width);
  stream.WriteByte(static_cast<std::uint8_t>(count));
  for (std::uint32_t i = 0; i < count; ++i) {
    const FrameComponent& c = components[i];
    stream.WriteByte(c.identifier);
    stream.WriteByte(static_cast<std::uint8_t>(c.horizontalFrequency * 16 + c.verticalFrequency));
    stream.WriteByte(c.quantizationTable);
  }
}

void WriteQuantizationTables(OutputByteStream& stream,
                             const std::array<JpegQuantizationTable, 4>& tables) {
  std::uint32_t used = 0;
  for (const JpegQuantizationTable& table : tables) used += table.used ? 1 : 0;
  WriteMarker(stream, kMarkerQuantizationTables);
  stream.WriteBigEndianWord(static_cast<std::uint16_t>(65 * used + 2));
  for (std::uint8_t number = 0; number < tables.size(); ++number) {
    if (!tables[number].used) continue;
    stream.WriteByte(number);  // precision 0 (8-bit values) in the high four bits
    tables[number].WriteValues(stream);
  }
}

void WriteRestartInterval(OutputByteStream& stream, std::uint16_t interval) {
  WriteMarker(stream, kMarkerRestartInterval);
  stream.WriteBigEndianWord(4);
  stream.WriteBigEndianWord(interval);
}

void WriteHuffmanTables(OutputByteStream& stream, bool luminance, bool chrominance, bool withDc,
                        bool withAc, const std::array<JpegHuffmanTable, 2>& dcTables,
                        const std::array<JpegHuffmanTable, 2>& acTables) {
  struct Entry {
    std::uint8_t classAndNumber;
    const JpegHuffmanTable* table;
  };
  Entry entries[4];
  std::uint32_t count = 0;
  for (std::uint8_t number = 0; number < 2; ++number) {
    if (!(number == 0 ? luminance : chrominance)) continue;
    if (withDc) entries[count++] = {number, &dcTables[number]};
    if (withAc) entries[count++] = {static_cast<std::uint8_t>(0x10 | number), &acTables[number]};
  }
  std::uint32_t length = 2;
  for (std::uint32_t i = 0; i < count; ++i) length += entries[i].table->TableDataLength();
  WriteMarker(stream, kMarkerHuffmanTables);
  stream.WriteBigEndianWord(static_cast<std::uint16_t>(length));
  for (std::uint32_t i = 0; i < count; ++i) {
    stream.WriteByte(entries[i].classAndNumber);
    entries[i].table->WriteTableData(stream);
  }
}

void WriteScanHeader(OutputByteStream& stream, const std::uint8_t* identifiers, std::uint32_t count,
                     std::uint8_t spectralStart, std::uint8_t spectralEnd,
                     std::uint8_t successiveApproximation, bool dcRefinement) {
  WriteMarker(stream, kMarkerStartOfScan);
  stream.WriteBigEndianWord(static_cast<std::uint16_t>(6 + 2 * count));
  stream.WriteByte(static_cast<std::uint8_t>(count));
  for (std::uint32_t i = 0; i < count; ++i) {
    stream.WriteByte(identifiers[i]);
    stream.WriteByte(dcRefinement || identifiers[i] == 1 ? 0x00 : 0x11);
  }
  stream.WriteByte(spectralStart);
  stream.WriteByte(spectralEnd);
  stream.WriteByte(successiveApproximation);
}

void WriteRestartMarker(OutputByteStream& stream, std::uint32_t n) {
  WriteMarker(stream, static_cast<std::uint8_t>(kMarkerRestart0 + n));
}

void WriteEndOfImage(OutputByteStream& stream) {
  WriteMarker(stream, kMarkerEndOfImage);
}

}  // namespace Quorvante
