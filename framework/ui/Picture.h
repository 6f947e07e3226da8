#pragma once
// A picture from the program's built-in resources, which AppResources gives
// by number. A picture is a shared object: every holder sees the same one.
#include <memory>

namespace fw {

class Picture {
 public:
  ~Picture();
  int Width() const;
  int Height() const;
  // 1 leaves the background transparent when drawn; 0 draws it opaque on
  // white. The built-in artwork carries its own transparency.
  int Transparent() const { return transparent_; }
  void SetTransparent(int value) { transparent_ = value; }

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  friend class AppResources;
  explicit Picture(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  int transparent_ = 0;
};

using PicturePtr = std::shared_ptr<Picture>;

}  // namespace fw
