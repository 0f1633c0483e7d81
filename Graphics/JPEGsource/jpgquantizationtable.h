// One quantization table of the JPEG encoder: 64 values in natural order (index 8 * row +
// column), picked whole from stored sets by the quality setting, and the multipliers that the
// forward transform applies to fold its output scaling and the division by the value into one
// multiplication per coefficient.
#ifndef QUORVANTE_JPGQUANTIZATIONTABLE_H
#define QUORVANTE_JPGQUANTIZATIONTABLE_H

#include <cstdint>

namespace Quorvante {

class OutputByteStream;

class JpegQuantizationTable {
 public:
  static constexpr std::uint32_t LuminanceSetCount = 12;
  static constexpr std::uint32_t ChrominanceSetCount = 5;

  // All values 0; a table must be loaded before a write uses it.
  JpegQuantizationTable();

  // The stored set that quality (1 to 100) selects from a family of setCount sets: quality 1
  // the coarsest set 0, quality 100 the finest set setCount - 1, the rest in even steps.
  static std::uint32_t SelectSet(std::uint32_t quality, std::uint32_t setCount);

  // Copy the luminance or chrominance set for quality (1 to 100, else AssertionFailure and
  // nothing changes) into values, unscaled.
  void LoadLuminanceValues(std::uint32_t quality);
  void LoadChrominanceValues(std::uint32_t quality);

  // Fills scaledReciprocals from values; called for each used table at the start of a write.
  // A table with a zero value (one never loaded) throws AssertionFailure.
  void BuildScaledReciprocals();

  // Writes the 64 values in zigzag order, one byte each (the low 8 bits; every stored value
  // fits), as the quantization table segment carries them after the table number.
  void WriteValues(OutputByteStream& stream) const;

  // The output scaling of the factorised forward transform, 1 / (8 * a(u) * a(v)) with
  // a(0) = 1 and a(k) = sqrt(2) * cos(k * pi / 16), in natural order, each the nearest double.
  static const double TransformScale[64];

  std::uint16_t values[64];
  double scaledReciprocals[64];  // valid only during a write that uses the table
  bool used = false;             // the frame being written uses the table
};

}  // namespace Quorvante

#endif
