// The picture catalogue and the robot table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Pictures.h"
#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"

namespace {

struct Row {
  const char* name;
  fw::PicturePtr (*accessor)();
  int resource;
  bool transparent;
};

const std::vector<Row> kCatalogue = {
    {"UVIcon", &Pictures::UVIcon, 168, true},
    {"SunsetIcon", &Pictures::SunsetIcon, 169, true},
    {"SunriseIcon", &Pictures::SunriseIcon, 170, true},
    {"TempHighIcon", &Pictures::TempHighIcon, 171, true},
    {"TempLowIcon", &Pictures::TempLowIcon, 172, true},
    {"WindSpeedIcon", &Pictures::WindSpeedIcon, 173, true},
    {"Sagewick", &Pictures::Sagewick, 175, true},
    {"LandscapeLarge", &Pictures::LandscapeLarge, 176, false},
    {"BreezelingIcon", &Pictures::BreezelingIcon, 177, true},
    {"Breezelingalt", &Pictures::Breezelingalt, 178, true},
    {"sprocket", &Pictures::sprocket, 179, true},
    {"tinker", &Pictures::tinker, 180, true},
    {"Nookpals", &Pictures::Nookpals, 181, true},
    {"Arrows", &Pictures::Arrows, 182, true},
    {"Q7", &Pictures::Q7, 183, true},
    {"Cogwheel", &Pictures::Cogwheel, 184, true},
    {"Rivet", &Pictures::Rivet, 185, true},
    {"Funcrate", &Pictures::Funcrate, 186, true},
    {"Humidity", &Pictures::Humidity, 187, true},
    {"Rain", &Pictures::Rain, 188, true},
    {"background1", &Pictures::background1, 189, false},
    {"background2", &Pictures::background2, 190, false},
    {"Boltro", &Pictures::Boltro, 191, true},
    {"Gadget", &Pictures::Gadget, 192, true},
    {"Abacus", &Pictures::Abacus, 193, true},
    {"Blorpo", &Pictures::Blorpo, 194, true},
    {"Wrenchy", &Pictures::Wrenchy, 195, true},
    {"background3", &Pictures::background3, 196, false},
};

TEST(Pictures, EachEntryLoadsItsResourceOnceAndSharesIt) {
  fw::AppResources* resources = fw::AppResources::Get();
  ASSERT_NE(resources, nullptr);
  for (const Row& row : kCatalogue) {
    SCOPED_TRACE(row.name);
    const int readsBefore = fw::AppResources::ReadCount();
    fw::PicturePtr first = row.accessor();
    ASSERT_NE(first, nullptr);
    fw::PicturePtr second = row.accessor();
    EXPECT_EQ(first, second);
    EXPECT_EQ(fw::AppResources::ReadCount(), readsBefore + 1);
    EXPECT_EQ(first->Transparent(), row.transparent ? 1 : 0);
    // The entry's own resource: the same artwork as a direct load of it.
    fw::PicturePtr direct = resources->GetPicture(row.resource);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(first->impl().svg, direct->impl().svg);
    EXPECT_EQ(first->impl().raster, direct->impl().raster);
  }
}

TEST(Pictures, ReleaseEmptiesTheCachesSoTheNextCallLoadsAgain) {
  fw::PicturePtr before = Pictures::Sagewick();
  Pictures::ReleaseAll();
  const int reads = fw::AppResources::ReadCount();
  fw::PicturePtr after = Pictures::Sagewick();
  EXPECT_NE(before, after);
  EXPECT_EQ(fw::AppResources::ReadCount(), reads + 1);
}

TEST(Pictures, RobotTableMapsEachNameAndNothingElse) {
  const std::vector<std::pair<std::string, fw::PicturePtr (*)()>> robots = {
      {"Sprocket", &Pictures::sprocket}, {"Cogwheel", &Pictures::Cogwheel},
      {"Gizmo", &Pictures::Breezelingalt}, {"Rivet", &Pictures::Rivet},
      {"Q-7", &Pictures::Q7},            {"Tinker", &Pictures::tinker},
      {"Boltro", &Pictures::Boltro},     {"Gadget", &Pictures::Gadget},
      {"Abacus", &Pictures::Abacus},     {"Blorpo", &Pictures::Blorpo},
      {"Wrenchy", &Pictures::Wrenchy},   {"GIZMO", &Pictures::Breezelingalt},
      {"q-7", &Pictures::Q7}};
  for (const auto& [name, accessor] : robots) EXPECT_EQ(Pictures::RobotPicture(name), accessor()) << name;
  for (const char* unknown : {"", "Breezeling", "Gizmo ", "Q7", "Breezelingalt", "Sprock"})
    EXPECT_EQ(Pictures::RobotPicture(unknown), nullptr) << unknown;
}

}  // namespace
