#include "framework/files/TextOutputStream.h"

#include "framework/files/Replacement.h"

namespace fw {

TextOutputStream::TextOutputStream(std::FILE* file) : file_(file), ok_(file != nullptr) {}

TextOutputStream::TextOutputStream(std::unique_ptr<detail::Replacement> replacement)
    : file_(replacement ? replacement->File() : nullptr),
      replacement_(std::move(replacement)),
      ok_(file_ != nullptr) {}

TextOutputStream::~TextOutputStream() {
  // Only a Close on purpose puts a replacement in place: a stream dropped on
  // the way (an exception between two writes) would otherwise swap a
  // half-written file for the good one. The replacement abandons itself.
  if (!replacement_) Close();
}

bool TextOutputStream::Write(const std::string& text) {
  if (file_ == nullptr) return false;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
  return ok_;
}

bool TextOutputStream::WriteLine(const std::string& text) { return Write(text) && Write("\n"); }

bool TextOutputStream::Flush() {
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0) ok_ = false;
  return ok_;
}

bool TextOutputStream::Close() {
  if (file_ == nullptr) return ok_;
  if (replacement_) {
    // A stream that failed on the way leaves the old file as it was.
    if (ok_) {
      ok_ = replacement_->Commit();
    } else {
      replacement_->Abandon();
    }
    replacement_.reset();
    file_ = nullptr;
    return ok_;
  }
  // Buffered bytes reach the disk here, so a full disk shows up now.
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  return ok_;
}

}  // namespace fw
