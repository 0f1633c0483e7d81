#include "Graphics/fileoutputstream.h"

namespace Quorvante {

namespace {
const char kCannotWrite[] = "Cannot Write Output File";
}

FileOutputStream::FileOutputStream() {
  // Our own buffer does the batching; the file stream passes blocks straight through.
  fileStream.rdbuf()->pubsetbuf(nullptr, 0);
}

FileOutputStream::~FileOutputStream() {
  if (isOpen) {
    if (!fileStream.fail()) Drain();
    fileStream.close();
  }
  delete[] buffer;
}

void FileOutputStream::Open(const std::string& fileName) {
  if (isOpen) throw StreamError("Already Open");
  fileStream.open(fileName, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!fileStream.is_open()) return;
  isOpen = true;
  buffer = new std::uint8_t[static_cast<std::size_t>(bufferSize)];
  current = buffer;
  limit = buffer + bufferSize;
}

bool FileOutputStream::IsOpen() const {
  return !fileStream.fail();
}

void FileOutputStream::Drain() {
  fileStream.write(reinterpret_cast<const char*>(buffer), current - buffer);
  current = buffer;
  limit = buffer + bufferSize;
}

void FileOutputStream::FlushBuffer() {
  Drain();
  if (fileStream.fail()) throw StreamError(kCannotWrite);
}

void FileOutputStream::Close() {
  if (!isOpen) return;
  isOpen = false;
  if (!fileStream.fail()) Drain();
  fileStream.close();
  if (fileStream.fail()) throw StreamError(kCannotWrite);
}

}  // namespace Quorvante
