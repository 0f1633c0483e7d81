// The image library's exceptions. Every failure of the library is thrown; it keeps no error
// codes and prints nothing.
#ifndef QUORVANTE_GRAPHICSEXCEPTIONS_H
#define QUORVANTE_GRAPHICSEXCEPTIONS_H

#include <exception>
#include <stdexcept>
#include <string>

namespace Quorvante {

// Base of the encoders' own error classes (BmpEncoder::BmpError, JpegEncoder::JpegError).
class GraphicsException : public std::exception {
 public:
  explicit GraphicsException(std::string text) : message(std::move(text)) {}
  const char* what() const noexcept override { return message.c_str(); }

 private:
  std::string message;
};

// Thrown when a progress function asks to cancel a write; carries nothing.
class GraphicsAbort {};

}  // namespace Quorvante

// A failed parameter assertion: "Assertion Failure (Bad Parameter): ", the condition as
// written, a blank and the source name.
class AssertionFailure : public std::logic_error {
 public:
  explicit AssertionFailure(const std::string& text) : std::logic_error(text) {}
};

// QUORVANTE_ASSERT(count != 0, "jpeg\\jpgoutputstream") checks a parameter; sourceName is the
// source's own short name as it appears in the message.
#define QUORVANTE_ASSERT(condition, sourceName)                                                \
  do {                                                                                         \
    if (!(condition))                                                                          \
      throw AssertionFailure("Assertion Failure (Bad Parameter): " #condition " " sourceName); \
  } while (false)

#endif
