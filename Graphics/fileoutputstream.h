// The stream whose buffer drains into a disk file, for byte and bit output alike.
#ifndef QUORVANTE_FILEOUTPUTSTREAM_H
#define QUORVANTE_FILEOUTPUTSTREAM_H

#include <cstdint>
#include <fstream>
#include <string>

#include "Graphics/JPEGsource/jpgoutputstream.h"

namespace Quorvante {

class FileOutputStream : public virtual JpegOutputStream {
 public:
  static constexpr std::int32_t kBufferSize = 0x40000;  // large block writes to the file

  FileOutputStream();
  // Writes out what the buffer holds and closes the file, quietly: a write that must be
  // known to have succeeded ends with Close().
  ~FileOutputStream() override;

  // Opens (creates or truncates) the file for binary output. Throws StreamError
  // "Already Open" on an open stream; a failed open throws nothing and shows in IsOpen().
  void Open(const std::string& fileName);
  // False once the file stream has failed (a failed Open, a failed write).
  bool IsOpen() const;
  // Writes out the buffer and closes the file; throws StreamError "Cannot Write Output File"
  // when the file system refused any of the data or the close.
  void Close();

  // One block write of the buffered bytes; throws StreamError "Cannot Write Output File"
  // when the file system refuses them.
  void FlushBuffer() override;

 private:
  void Drain();

  std::ofstream fileStream;
  bool isOpen = false;
  std::uint8_t* buffer = nullptr;
  std::int32_t bufferSize = kBufferSize;
};

}  // namespace Quorvante

#endif
