#pragma once
// Pictures from the program's built-in resources, found by number. A
// picture is a shared object: every holder sees the same one.
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

// The application's resources (its "resource fork").
class AppResources {
 public:
  // None only when the program was built without its resources.
  static AppResources* Get();
  // A new picture for the resource number; none when there is no such
  // resource. Each call reads the resource again: callers keep what they load.
  // Vector artwork is parsed when the picture is first drawn or measured;
  // artwork that does not parse draws nothing and measures 0 x 0.
  PicturePtr GetPicture(int number) const;
  // How many times resources have been read (lets callers prove caching).
  static int ReadCount();
};

}  // namespace fw
