// The picture catalogue and the robot table.
#include "AppFixture.h"
#include "framework/ui/AppResources.h"
#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"

namespace {

struct Row {
  const char* name;
  fw::PicturePtr (*accessor)();
  int resource;
  bool transparent;
};

namespace P = Pictures;
const std::vector<Row> kCatalogue = {
    {"UVIcon", &P::UVIcon, 168, true},
    {"SunsetIcon", &P::SunsetIcon, 169, true},
    {"SunriseIcon", &P::SunriseIcon, 170, true},
    {"TempHighIcon", &P::TempHighIcon, 171, true},
    {"TempLowIcon", &P::TempLowIcon, 172, true},
    {"WindSpeedIcon", &P::WindSpeedIcon, 173, true},
    {"Sagewick", &P::Sagewick, 175, true},
    {"LandscapeLarge", &P::LandscapeLarge, 176, false},
    {"BreezelingIcon", &P::BreezelingIcon, 177, true},
    {"Breezelingalt", &P::Breezelingalt, 178, true},
    {"sprocket", &P::sprocket, 179, true},
    {"tinker", &P::tinker, 180, true},
    {"Nookpals", &P::Nookpals, 181, true},
    {"Arrows", &P::Arrows, 182, true},
    {"Q7", &P::Q7, 183, true},
    {"Cogwheel", &P::Cogwheel, 184, true},
    {"Rivet", &P::Rivet, 185, true},
    {"Funcrate", &P::Funcrate, 186, true},
    {"Humidity", &P::Humidity, 187, true},
    {"Rain", &P::Rain, 188, true},
    {"background1", &P::background1, 189, false},
    {"background2", &P::background2, 190, false},
    {"Boltro", &P::Boltro, 191, true},
    {"Gadget", &P::Gadget, 192, true},
    {"Abacus", &P::Abacus, 193, true},
    {"Blorpo", &P::Blorpo, 194, true},
    {"Wrenchy", &P::Wrenchy, 195, true},
    {"background3", &P::background3, 196, false},
};

TEST(Pictures, EachEntryLoadsItsResourceOnceAndSharesItUntilReleased) {
  fw::AppResources* resources = fw::AppResources::Get();
  ASSERT_NE(resources, nullptr);
  for (const Row& row : kCatalogue) {
    SCOPED_TRACE(row.name);
    const int readsBefore = fw::AppResources::ReadCount();
    fw::PicturePtr first = row.accessor();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(row.accessor(), first);
    EXPECT_EQ(fw::AppResources::ReadCount(), readsBefore + 1);
    EXPECT_EQ(first->Transparent(), row.transparent ? 1 : 0);
    // The entry's own resource: the same artwork as a direct load of it.
    fw::PicturePtr direct = resources->GetPicture(row.resource);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(first->impl().svg, direct->impl().svg);
    EXPECT_EQ(first->impl().raster, direct->impl().raster);
  }
  // Release empties the caches, so the next call loads again.
  fw::PicturePtr before = Pictures::Sagewick();
  Pictures::ReleaseAll();
  const int reads = fw::AppResources::ReadCount();
  EXPECT_NE(Pictures::Sagewick(), before);
  EXPECT_EQ(fw::AppResources::ReadCount(), reads + 1);
}

TEST(Pictures, RobotTableMapsEachNameAndNothingElse) {
  const std::vector<std::pair<std::string, fw::PicturePtr (*)()>> robots = {{"Sprocket", &P::sprocket},
                                                                            {"Cogwheel", &P::Cogwheel},
                                                                            {"Gizmo", &P::Breezelingalt},
                                                                            {"Rivet", &P::Rivet},
                                                                            {"Q-7", &P::Q7},
                                                                            {"Tinker", &P::tinker},
                                                                            {"Boltro", &P::Boltro},
                                                                            {"Gadget", &P::Gadget},
                                                                            {"Abacus", &P::Abacus},
                                                                            {"Blorpo", &P::Blorpo},
                                                                            {"Wrenchy", &P::Wrenchy},
                                                                            {"GIZMO", &P::Breezelingalt},
                                                                            {"q-7", &P::Q7}};
  for (const auto& [name, accessor] : robots) EXPECT_EQ(Pictures::RobotPicture(name), accessor()) << name;
  for (const char* unknown : {"", "Breezeling", "Gizmo ", "Q7", "Breezelingalt", "Sprock"})
    EXPECT_EQ(Pictures::RobotPicture(unknown), nullptr) << unknown;
}

}  // namespace
