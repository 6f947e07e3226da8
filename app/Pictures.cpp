#include "app/Pictures.h"

#include <array>
#include <cstddef>

#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/AppResources.h"

namespace Pictures {

namespace {

struct Entry {
  const char* name;
  int resource;
  bool transparent;
  fw::PicturePtr _permapic;  // the cache: none until first asked for
};

// Catalogue order: also the order in which the caches are released.
enum Index : std::size_t {
  kUVIcon,
  kSunsetIcon,
  kSunriseIcon,
  kTempHighIcon,
  kTempLowIcon,
  kWindSpeedIcon,
  kSagewick,
  kLandscapeLarge,
  kBreezelingIcon,
  kBreezelingalt,
  ksprocket,
  ktinker,
  kNookpals,
  kArrows,
  kQ7,
  kCogwheel,
  kRivet,
  kFuncrate,
  kHumidity,
  kRain,
  kbackground1,
  kbackground2,
  kBoltro,
  kGadget,
  kAbacus,
  kBlorpo,
  kWrenchy,
  kbackground3,
  kCount
};

std::array<Entry, kCount>& Catalogue() {
  static std::array<Entry, kCount> catalogue{{
      {"UVIcon", 168, true, nullptr},
      {"SunsetIcon", 169, true, nullptr},
      {"SunriseIcon", 170, true, nullptr},
      {"TempHighIcon", 171, true, nullptr},
      {"TempLowIcon", 172, true, nullptr},
      {"WindSpeedIcon", 173, true, nullptr},
      {"Sagewick", 175, true, nullptr},
      {"LandscapeLarge", 176, false, nullptr},
      {"BreezelingIcon", 177, true, nullptr},
      {"Breezelingalt", 178, true, nullptr},
      {"sprocket", 179, true, nullptr},
      {"tinker", 180, true, nullptr},
      {"Nookpals", 181, true, nullptr},
      {"Arrows", 182, true, nullptr},
      {"Q7", 183, true, nullptr},
      {"Cogwheel", 184, true, nullptr},
      {"Rivet", 185, true, nullptr},
      {"Funcrate", 186, true, nullptr},
      {"Humidity", 187, true, nullptr},
      {"Rain", 188, true, nullptr},
      {"background1", 189, false, nullptr},
      {"background2", 190, false, nullptr},
      {"Boltro", 191, true, nullptr},
      {"Gadget", 192, true, nullptr},
      {"Abacus", 193, true, nullptr},
      {"Blorpo", 194, true, nullptr},
      {"Wrenchy", 195, true, nullptr},
      {"background3", 196, false, nullptr},
  }};
  return catalogue;
}

fw::PicturePtr Cached(Index index) {
  Entry& entry = Catalogue()[index];
  if (entry._permapic) return entry._permapic;
  fw::AppResources* resources = fw::AppResources::Get();
  if (!resources) throw fw::NilObjectException("the application has no resources");
  // A missing resource leaves the cache empty, so the next call looks again.
  entry._permapic = resources->GetPicture(entry.resource);
  if (entry.transparent) {
    if (!entry._permapic) {
      throw fw::NilObjectException(std::string("no picture resource for ") + entry.name);
    }
    entry._permapic->SetTransparent(1);
  }
  return entry._permapic;
}

struct Robot {
  const char* name;
  fw::PicturePtr (*picture)();
};

// Compared in this order; the first match wins.
constexpr std::array<Robot, 11> kRobots{{
    {"Sprocket", &sprocket},
    {"Cogwheel", &Cogwheel},
    {"Gizmo", &Breezelingalt},
    {"Rivet", &Rivet},
    {"Q-7", &Q7},
    {"Tinker", &tinker},
    {"Boltro", &Boltro},
    {"Gadget", &Gadget},
    {"Abacus", &Abacus},
    {"Blorpo", &Blorpo},
    {"Wrenchy", &Wrenchy},
}};

}  // namespace

fw::PicturePtr UVIcon() { return Cached(kUVIcon); }
fw::PicturePtr SunsetIcon() { return Cached(kSunsetIcon); }
fw::PicturePtr SunriseIcon() { return Cached(kSunriseIcon); }
fw::PicturePtr TempHighIcon() { return Cached(kTempHighIcon); }
fw::PicturePtr TempLowIcon() { return Cached(kTempLowIcon); }
fw::PicturePtr WindSpeedIcon() { return Cached(kWindSpeedIcon); }
fw::PicturePtr Sagewick() { return Cached(kSagewick); }
fw::PicturePtr LandscapeLarge() { return Cached(kLandscapeLarge); }
fw::PicturePtr BreezelingIcon() { return Cached(kBreezelingIcon); }
fw::PicturePtr Breezelingalt() { return Cached(kBreezelingalt); }
fw::PicturePtr sprocket() { return Cached(ksprocket); }
fw::PicturePtr tinker() { return Cached(ktinker); }
fw::PicturePtr Nookpals() { return Cached(kNookpals); }
fw::PicturePtr Arrows() { return Cached(kArrows); }
fw::PicturePtr Q7() { return Cached(kQ7); }
fw::PicturePtr Cogwheel() { return Cached(kCogwheel); }
fw::PicturePtr Rivet() { return Cached(kRivet); }
fw::PicturePtr Funcrate() { return Cached(kFuncrate); }
fw::PicturePtr Humidity() { return Cached(kHumidity); }
fw::PicturePtr Rain() { return Cached(kRain); }
fw::PicturePtr background1() { return Cached(kbackground1); }
fw::PicturePtr background2() { return Cached(kbackground2); }
fw::PicturePtr Boltro() { return Cached(kBoltro); }
fw::PicturePtr Gadget() { return Cached(kGadget); }
fw::PicturePtr Abacus() { return Cached(kAbacus); }
fw::PicturePtr Blorpo() { return Cached(kBlorpo); }
fw::PicturePtr Wrenchy() { return Cached(kWrenchy); }
fw::PicturePtr background3() { return Cached(kbackground3); }

void ReleaseAll() {
  for (Entry& entry : Catalogue()) entry._permapic.reset();
}

fw::PicturePtr ForIcon(WeatherTable::Icon icon) {
  using WeatherTable::Icon;
  switch (icon) {
    case Icon::TempHigh:
      return TempHighIcon();
    case Icon::TempLow:
      return TempLowIcon();
    case Icon::UV:
      return UVIcon();
    case Icon::WindSpeed:
      return WindSpeedIcon();
    case Icon::Rain:
      return Rain();
    case Icon::Humidity:
      return Humidity();
    case Icon::Sunrise:
      return SunriseIcon();
    case Icon::Sunset:
      return SunsetIcon();
    case Icon::None:
      break;
  }
  return nullptr;
}

fw::PicturePtr RobotPicture(const std::string& name) {
  for (const Robot& robot : kRobots) {
    if (fw::StrEq(name, robot.name)) return robot.picture();
  }
  return nullptr;
}

}  // namespace Pictures
