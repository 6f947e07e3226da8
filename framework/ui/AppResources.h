#pragma once
// Pictures from the program's built-in resources, found by number.
#include "framework/ui/Picture.h"

namespace fw {

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
