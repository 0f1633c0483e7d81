#include "jpegtestsupport.h"

#include <jpeglib.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace JpegSupport {

namespace {

// libjpeg is C: an exception must not unwind through it. Errors and warnings longjmp back to
// the call that set the jump, which destroys the decoder and then throws.
struct StrictErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX + 16];
};

[[noreturn]] void JumpWithMessage(j_common_ptr info, const char* prefix) {
  auto* manager = reinterpret_cast<StrictErrorManager*>(info->err);
  char text[JMSG_LENGTH_MAX];
  manager->base.format_message(info, text);
  std::snprintf(manager->message, sizeof manager->message, "%s%s", prefix, text);
  std::longjmp(manager->jump, 1);
}

extern "C" void StrictErrorExit(j_common_ptr info) {
  JumpWithMessage(info, "libjpeg error: ");
}

// Level -1 is a warning about corrupt data; higher levels are trace messages.
extern "C" void StrictEmitMessage(j_common_ptr info, int level) {
  if (level < 0) JumpWithMessage(info, "libjpeg warning: ");
}

void InstallStrictErrors(jpeg_decompress_struct& info, StrictErrorManager& manager) {
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = StrictErrorExit;
  manager.base.emit_message = StrictEmitMessage;
  manager.message[0] = '\0';
}

}  // namespace

DecodedJpeg DecodeJpegStrict(const std::vector<std::uint8_t>& bytes) {
  DecodedJpeg result;
  jpeg_decompress_struct info;
  StrictErrorManager manager;
  InstallStrictErrors(info, manager);
  if (setjmp(manager.jump)) {
    jpeg_destroy_decompress(&info);
    throw JpegCheckError(manager.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  result.width = static_cast<int>(info.output_width);
  result.height = static_cast<int>(info.output_height);
  result.components = info.output_components;
  const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) *
                               static_cast<std::size_t>(info.output_components);
  result.pixels.resize(rowBytes * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result.pixels.data() + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  const std::size_t trailing = info.src->bytes_in_buffer;
  jpeg_destroy_decompress(&info);
  if (trailing != 0)
    throw JpegCheckError("bytes after the end-of-image marker: " + std::to_string(trailing));
  return result;
}

double PeakSignalToNoise(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.empty())
    throw JpegCheckError("sample arrays of different or no size: " + std::to_string(a.size()) +
                         " and " + std::to_string(b.size()));
  double squares = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - static_cast<double>(b[i]);
    squares += d * d;
  }
  if (squares == 0) return 99.0;
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
}

JpegCoefficients ReadJpegCoefficients(const std::vector<std::uint8_t>& bytes) {
  JpegCoefficients result;
  jpeg_decompress_struct info;
  StrictErrorManager manager;
  InstallStrictErrors(info, manager);
  if (setjmp(manager.jump)) {
    jpeg_destroy_decompress(&info);
    throw JpegCheckError(manager.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
  jpeg_read_header(&info, TRUE);
  jvirt_barray_ptr* arrays = jpeg_read_coefficients(&info);

  result.width = static_cast<int>(info.image_width);
  result.height = static_cast<int>(info.image_height);
  result.progressive = info.progressive_mode != 0;
  result.arithmetic = info.arith_code != 0;
  result.restartInterval = info.restart_interval;
  result.scanCount = info.input_scan_number;
  result.jfif = info.saw_JFIF_marker != 0;
  result.jfifMajorVersion = info.JFIF_major_version;
  result.jfifMinorVersion = info.JFIF_minor_version;
  result.densityUnit = info.density_unit;
  result.xDensity = info.X_density;
  result.yDensity = info.Y_density;
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker == JPEG_COM)
      result.comments.emplace_back(reinterpret_cast<const char*>(marker->data),
                                   marker->data_length);
  }

  result.components.resize(static_cast<std::size_t>(info.num_components));
  for (int c = 0; c < info.num_components; ++c) {
    const jpeg_component_info& component = info.comp_info[c];
    ComponentCoefficients& out = result.components[static_cast<std::size_t>(c)];
    out.id = component.component_id;
    out.horizontalSampling = component.h_samp_factor;
    out.verticalSampling = component.v_samp_factor;
    out.quantizationTableNumber = component.quant_tbl_no;
    const JQUANT_TBL* table = info.quant_tbl_ptrs[component.quant_tbl_no];
    if (table != nullptr) {
      for (int i = 0; i < 64; ++i)
        out.quantizationValues[static_cast<std::size_t>(i)] = table->quantval[i];
    }
    out.blocksWide = static_cast<int>(component.width_in_blocks);
    out.blocksHigh = static_cast<int>(component.height_in_blocks);
    out.blocks.resize(static_cast<std::size_t>(out.blocksWide) *
                      static_cast<std::size_t>(out.blocksHigh));
    for (JDIMENSION row = 0; row < component.height_in_blocks; ++row) {
      JBLOCKARRAY rows = info.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&info),
                                                      arrays[c], row, 1, FALSE);
      for (JDIMENSION column = 0; column < component.width_in_blocks; ++column) {
        CoefficientBlock& block = out.blocks[row * component.width_in_blocks + column];
        for (int i = 0; i < 64; ++i) block[static_cast<std::size_t>(i)] = rows[0][column][i];
      }
    }
  }
  jpeg_finish_decompress(&info);
  const std::size_t trailing = info.src->bytes_in_buffer;
  jpeg_destroy_decompress(&info);
  if (trailing != 0)
    throw JpegCheckError("bytes after the end-of-image marker: " + std::to_string(trailing));
  return result;
}

std::vector<JpegSegment> ListJpegSegments(const std::vector<std::uint8_t>& bytes) {
  std::vector<JpegSegment> segments;
  auto fail = [](const std::string& what, std::size_t at) {
    throw JpegCheckError(what + " at offset " + std::to_string(at));
  };
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) fail("no start of image", 0);
  std::size_t at = 0;
  bool entropyFollows = false;  // after a scan header or a restart marker
  while (at < bytes.size()) {
    if (bytes[at] != 0xFF || at + 1 >= bytes.size()) fail("marker expected", at);
    JpegSegment segment;
    segment.marker = bytes[at + 1];
    segment.offset = at;
    at += 2;
    const std::uint8_t m = segment.marker;
    const bool standalone = m == 0xD8 || m == 0xD9 || (m >= 0xD0 && m <= 0xD7) || m == 0x01;
    if (m == 0x00 || m == 0xFF) fail("invalid marker code", segment.offset);
    if (m >= 0xD0 && m <= 0xD7 && !entropyFollows)
      fail("restart marker outside a scan", segment.offset);
    if (!standalone) {
      if (at + 2 > bytes.size()) fail("segment length cut off", at);
      const std::size_t length = static_cast<std::size_t>(bytes[at] << 8 | bytes[at + 1]);
      if (length < 2 || at + length > bytes.size()) fail("segment length out of range", at);
      segment.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
      at += length;
      entropyFollows = m == 0xDA;
    } else if (m == 0xD9) {
      segments.push_back(std::move(segment));
      if (at != bytes.size()) fail("bytes after the end of image", at);
      return segments;
    } else if (m == 0xD8) {
      if (segment.offset != 0) fail("second start of image", segment.offset);
    }
    if (entropyFollows) {
      const std::size_t start = at;
      while (at < bytes.size() &&
             !(bytes[at] == 0xFF && at + 1 < bytes.size() && bytes[at + 1] != 0x00))
        at += bytes[at] == 0xFF ? 2 : 1;
      segment.entropyBytes = at - start;
    }
    segments.push_back(std::move(segment));
  }
  fail("no end of image", at);
  return segments;
}

}  // namespace JpegSupport
