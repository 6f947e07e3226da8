// The preferences file, the application data folder, and the settings as
// the settings window and the main window show them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "core/Globals.h"
#include "core/Preferences.h"
#include "framework/files/FolderItem.h"
#include "support/Recorders.h"
#include "windows/SettingsWin.h"

namespace {

using testsupport::Recorders;

const std::string kNewFile = "userLocation\n\nuserTempUnit\n\nuserSpeedUnit\n\nuserRobot\n\n";
const std::string kKeep = "(unchanged)";

std::string PrefsPath() { return fw::PreferencesFolder().Child("Breezeling")->NativePath(); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Settings {
  std::string location, temp, speed, robot;
  bool operator==(const Settings&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Settings& s) {
  return out << "{" << s.location << " | " << s.temp << " | " << s.speed << " | " << s.robot << "}";
}

Settings Current() {
  return {Globals::UserLocation, Globals::UserTempUnit, Globals::UserSpeedUnit, Globals::UserRobot};
}

void SetAll(const std::string& value) {
  Globals::UserLocation = Globals::UserTempUnit = Globals::UserSpeedUnit = Globals::UserRobot = value;
}

// Reads the file after putting a marker into every setting, so that a
// setting the file does not give is seen as kept.
Settings ReadFile(const std::string& bytes) {
  WriteBytes(PrefsPath(), bytes);
  SetAll(kKeep);
  Globals::CreatePreferencesFile();
  return Current();
}

TEST(PreferencesFile, KeysAreFoundWhereverTheyStandAndTheFirstWins) {
  struct Case {
    const char* what;
    std::string bytes;
    Settings expected;
  };
  const std::vector<Case> cases = {
      {"as written", "userLocation\nA place\nuserTempUnit\nFahrenheit\nuserSpeedUnit\nmph\nuserRobot\nGizmo\n",
       {"A place", "Fahrenheit", "mph", "Gizmo"}},
      {"other order, extra pairs",
       "userRobot\nQ-7\ncolour\nblue\nuserSpeedUnit\nkm/h\nuserLocation\nAyr\nlast seen\n2024\n"
       "userTempUnit\nCelsius\n",
       {"Ayr", "Celsius", "km/h", "Q-7"}},
      {"repeated key", "userLocation\nFirst\nuserLocation\nSecond\n", {"First", kKeep, kKeep, kKeep}},
      {"odd number of lines", "userLocation\nX\nuserRobot", {"X", kKeep, kKeep, ""}},
      {"CR and CR LF line ends", "userLocation\r\nA\r\nuserTempUnit\rFahrenheit\r",
       {"A", "Fahrenheit", kKeep, kKeep}},
      {"key letter case", "USERLOCATION\nB\n", {"B", kKeep, kKeep, kKeep}},
      {"keys compared whole", " userLocation\nC\nuserLocation:\nD\n", {kKeep, kKeep, kKeep, kKeep}},
      {"values untrimmed", "userLocation\n  spaced  \n", {"  spaced  ", kKeep, kKeep, kKeep}},
      {"a value that looks like a key", "userTempUnit\nuserLocation\nuserLocation\nReal\n",
       {"Real", "userLocation", kKeep, kKeep}},
      {"empty values", kNewFile, {"", "", "", ""}},
      {"empty file", "", {kKeep, kKeep, kKeep, kKeep}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadFile(c.bytes), c.expected) << c.what;
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST(PreferencesFile, OnlyTheFirst101PairsAreRead) {
  std::string junk;
  for (int i = 0; i < 100; ++i) junk += "other" + std::to_string(i) + "\nvalue\n";
  // The 101st pair is read; a 102nd is not.
  EXPECT_EQ(ReadFile(junk + "userLocation\nLate\n").location, "Late");
  EXPECT_EQ(ReadFile(junk + "spare\nx\nuserLocation\nTooLate\n").location, kKeep);
  // 101 pairs without the key: the lookup stops at the end of the lists.
  EXPECT_EQ(ReadFile(junk + "spare\nx\n"), (Settings{kKeep, kKeep, kKeep, kKeep}));
  // The four keys first, as the writers put them, then thousands of lines.
  std::string longFile = "userLocation\nHere\nuserTempUnit\nCelsius\nuserSpeedUnit\nmph\nuserRobot\nGizmo\n";
  for (int i = 0; i < 5000; ++i) longFile += "k\nv\n";
  EXPECT_EQ(ReadFile(longFile), (Settings{"Here", "Celsius", "mph", "Gizmo"}));
}

TEST(PreferencesFile, FindIndexSearchesOnlyUpToTheLastIndexAndTheListsEnd) {
  const std::vector<std::string> list = {"a", "b", "a", ""};
  struct Case {
    std::string key;
    int last, expected;
  };
  const std::vector<Case> cases = {{"a", 3, 0}, {"A", 3, 0}, {"b", 0, -1}, {"b", 1, 1}, {"c", 3, -1},
                                   {"a", -1, -1}, {"b", 1000, 1}, {"", 2, -1}, {"", 3, 3}, {"", 99, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(Globals::FindIndex(list, c.key, c.last), c.expected) << c.key << " " << c.last;
  }
  EXPECT_EQ(Globals::FindIndex({}, "", 5), -1);
}

TEST(PreferencesFile, ReadingKeepsACodeOfOursAndStampsAForeignFile) {
  struct Case {
    std::string type, creator, typeAfter, creatorAfter;
  };
  const std::vector<Case> cases = {{"pref", "ABCD", "pref", "ABCD"},
                                   {"TEXT", "LKSP", "TEXT", "LKSP"},
                                   {"TEXT", "ttxt", "pref", "LKSP"},
                                   {"", "", "pref", "LKSP"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type + "/" + c.creator);
    const fw::FolderItem file(PrefsPath());
    file.Delete();
    WriteBytes(PrefsPath(), "userLocation\nKept\n");
    if (!c.type.empty()) file.SetMacType(c.type);
    if (!c.creator.empty()) file.SetMacCreator(c.creator);
    Globals::CreatePreferencesFile();
    EXPECT_EQ(Globals::UserLocation, "Kept");
    EXPECT_EQ(file.MacType(), c.typeAfter);
    EXPECT_EQ(file.MacCreator(), c.creatorAfter);
    EXPECT_EQ(ReadBytes(PrefsPath()), "userLocation\nKept\n");  // reading writes no text
  }
}

TEST(PreferencesFile, AFileThatCannotBeReadOrMadeIsReportedAndLeftAlone) {
  // A folder where the file should be.
  ASSERT_TRUE(fw::FolderItem(PrefsPath()).CreateAsFolder());
  SetAll(kKeep);
  Globals::CreatePreferencesFile();
  EXPECT_EQ(Current(), (Settings{kKeep, kKeep, kKeep, kKeep}));
  EXPECT_TRUE(fw::FolderItem(PrefsPath()).IsFolder());
  std::filesystem::remove(PrefsPath());

  // A link to a folder that does not exist: the file cannot be made.
  std::filesystem::create_symlink(PrefsPath() + "-nowhere/file", PrefsPath());
  Globals::CreatePreferencesFile();
  EXPECT_EQ(Current(), (Settings{kKeep, kKeep, kKeep, kKeep}));
  EXPECT_EQ(Recorders::Get().boxes, (std::vector<std::string>{"Preference file could not be read.",
                                                             "Preference file could not be created."}));
}

TEST(PreferencesFile, FirstStartWritesTheFourKeysWithTypeCreatorAndOwnerResource) {
  SetAll("");
  Globals::CreatePreferencesFile();
  EXPECT_EQ(ReadBytes(PrefsPath()), kNewFile);
  const fw::FolderItem file(PrefsPath());
  EXPECT_EQ(file.MacType(), "pref");
  EXPECT_EQ(file.MacCreator(), "LKSP");
  const auto fork = file.OpenResourceFork();
  ASSERT_NE(fork, nullptr);
  ASSERT_EQ(fork->Resources().size(), 1u);
  const std::optional<fw::Resource> owner = fork->GetResource("Ownr", 128);
  ASSERT_TRUE(owner.has_value());
  EXPECT_EQ(owner->name, "Owner ID");
  EXPECT_EQ(owner->data, "Preferences");
  EXPECT_EQ(Current(), (Settings{"", "", "", ""}));

  // The next start reads it back, empty, and leaves its fork alone.
  SetAll(kKeep);
  Globals::CreatePreferencesFile();
  EXPECT_EQ(Current(), (Settings{"", "", "", ""}));
  EXPECT_EQ(file.OpenResourceFork()->Resources().size(), 1u);
}

TEST(DataFolder, IsMadeInvisibleWithItsSubfolderAndRepairedAtEveryStart) {
  const fw::FolderItem data = *fw::PreferencesFolder().Child("BZL Data");
  const fw::FolderItem temp = *data.Child("Temp Data");

  Globals::CreateAppDataDirectories();
  EXPECT_TRUE(data.IsFolder());
  EXPECT_FALSE(data.Visible());
  EXPECT_TRUE(temp.IsFolder());

  // Visible and without its subfolder: both repaired.
  ASSERT_TRUE(temp.Delete());
  data.SetVisible(true);
  Globals::CreateAppDataDirectories();
  EXPECT_TRUE(temp.IsFolder());
  EXPECT_FALSE(data.Visible());

  // Already right: what it holds stays.
  WriteBytes(temp.NativePath() + "/cache", "x");
  Globals::CreateAppDataDirectories();
  EXPECT_EQ(ReadBytes(temp.NativePath() + "/cache"), "x");
  EXPECT_FALSE(data.Visible());

  // A file in the folder's place is not a fault.
  ASSERT_TRUE(std::filesystem::remove_all(data.NativePath()) > 0);
  WriteBytes(data.NativePath(), "not a folder");
  Globals::CreateAppDataDirectories();
  EXPECT_EQ(ReadBytes(data.NativePath()), "not a folder");
}

TEST(StripCurrentLocation, CutsAtTheFirstCommaElseTheFirstSpace) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Naseby, Otago, New Zealand", "Naseby"},
      {"Dunedin", "Dunedin"},
      {"Port Chalmers", "Port"},
      {"New York, USA", "New York"},
      {",Otago", ""},
      {" Naseby", ""},
      {"", ""},
      {"Zürich, Schweiz", "Zürich"},
  };
  for (const auto& [place, label] : cases) EXPECT_EQ(Globals::StripCurrentLocation(place), label) << place;
}

class SettingsTest : public CoreTest {
 protected:
  SettingsWin& Settings() { return SettingsWin::Instance(); }
  fw::EditField& Location() { return Settings().Ctl<fw::EditField>("Location"); }
  fw::PopupMenu& Popup(const std::string& name) { return Settings().Ctl<fw::PopupMenu>(name); }
  void Select(const std::string& popup, const std::string& item) {
    auto& menu = Popup(popup);
    for (int i = 0; i < menu.ListCount(); ++i) {
      if (menu.List(i) == item) {
        menu.SetListIndex(i);
        return;
      }
    }
    FAIL() << item << " is no item of " << popup;
  }
};

TEST_F(SettingsTest, FirstStartShowsTheDefaultsEverywhere) {
  Globals::CreateAppDataDirectories();
  Globals::CreatePreferencesFile();
  Win();  // its Open puts the settings into the windows
  EXPECT_EQ(Location().Text(), "Naseby, Otago, New Zealand");
  EXPECT_EQ(Popup("Temp").Text(), "Celsius");
  EXPECT_EQ(Popup("Speed").Text(), "km/h");
  EXPECT_EQ(Popup("Robot").Text(), "Rivet");
  EXPECT_EQ(Current(), (::Settings{"Naseby, Otago, New Zealand", "Celsius", "km/h", "Rivet"}));
  EXPECT_EQ(Label("LocationLabel"), "Naseby");
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST_F(SettingsTest, StoredSettingsSelectTheirItemsAndShortOnesTakeTheDefault) {
  struct Case {
    ::Settings stored;
    std::string field, label;
    int temp, speed, robot;
    ::Settings after;
  };
  const std::string kDefault = "Naseby, Otago, New Zealand";
  const std::vector<Case> cases = {
      {{"", "", "", ""}, kDefault, "Naseby", 0, 0, 0, {kDefault, "Celsius", "km/h", "Rivet"}},
      {{"NY", "F", "mp", "Q7"}, kDefault, "Naseby", 0, 0, 0, {kDefault, "Celsius", "km/h", "Rivet"}},
      {{"Ayr", "Fahrenheit", "mph", "Q-7"}, "Ayr", "Ayr", 1, 1, 2, {"Ayr", "Fahrenheit", "mph", "Q-7"}},
      {{"New York, USA", "fahrenheit", "MPH", "gizmo"}, "New York, USA", "New York", 1, 1, 10,
       {"New York, USA", "fahrenheit", "MPH", "gizmo"}},
      {{"Port Chalmers", "Kelvin", "knots", "Robby"}, "Port Chalmers", "Port", -1, -1, -1,
       {"Port Chalmers", "Kelvin", "knots", "Robby"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.location);
    Globals::UserLocation = c.stored.location;
    Globals::UserTempUnit = c.stored.temp;
    Globals::UserSpeedUnit = c.stored.speed;
    Globals::UserRobot = c.stored.robot;
    Win();
    Globals::SetDefaultPrefs();
    EXPECT_EQ(Location().Text(), c.field);
    EXPECT_EQ(Label("LocationLabel"), c.label);
    EXPECT_EQ(Popup("Temp").ListIndex(), c.temp);
    EXPECT_EQ(Popup("Speed").ListIndex(), c.speed);
    EXPECT_EQ(Popup("Robot").ListIndex(), c.robot);
    EXPECT_EQ(Current(), c.after);
  }
}

TEST_F(SettingsTest, SaveWritesTheFieldsAndTheNextStartReadsThemBack) {
  Globals::CreatePreferencesFile();
  Win();
  Location().SetText("Zürich, Schweiz");
  Select("Temp", "Fahrenheit");
  Select("Speed", "mph");
  Select("Robot", "Gizmo");
  Globals::UserRobot = "Rivet";
  Globals::UpdatePreferences();
  // The robot is taken by Save itself, not here.
  EXPECT_EQ(Current(), (::Settings{"Zürich, Schweiz", "Fahrenheit", "mph", "Rivet"}));
  EXPECT_EQ(ReadBytes(PrefsPath()),
            "userLocation\nZürich, Schweiz\nuserTempUnit\nFahrenheit\nuserSpeedUnit\nmph\nuserRobot\nGizmo\n");
  const fw::FolderItem file(PrefsPath());
  EXPECT_EQ(file.MacType(), "pref");
  EXPECT_EQ(file.MacCreator(), "LKSP");

  SetAll("");
  Globals::CreatePreferencesFile();
  EXPECT_EQ(Current(), (::Settings{"Zürich, Schweiz", "Fahrenheit", "mph", "Gizmo"}));
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST_F(SettingsTest, SaveReplacesTheWholeFileAndKeepsEachValueOnOneLine) {
  WriteBytes(PrefsPath(), "junk\n1\nuserLocation\nOld\nmore\n2\nuserRobot\nTinker\n");
  fw::FolderItem(PrefsPath()).SetMacCreator("ABCD");
  Win();
  Location().SetText("  Two\rlines\n ");
  Globals::UpdatePreferences();
  EXPECT_EQ(ReadBytes(PrefsPath()),
            "userLocation\n  Two lines  \nuserTempUnit\nCelsius\nuserSpeedUnit\nkm/h\nuserRobot\nRivet\n");
  EXPECT_EQ(fw::FolderItem(PrefsPath()).MacCreator(), "LKSP");
  SetAll(kKeep);
  Globals::CreatePreferencesFile();
  EXPECT_EQ(Current(), (::Settings{"  Two lines  ", "Celsius", "km/h", "Rivet"}));
}

TEST_F(SettingsTest, SaveWithoutAFileIsReportedAndMakesNone) {
  Win();
  Location().SetText("Ayr");
  Select("Speed", "mph");
  Globals::UserRobot = "Tinker";
  Globals::UpdatePreferences();
  EXPECT_EQ(Recorders::Get().boxes,
            std::vector<std::string>{"Preference file not found. Please restart the application."});
  EXPECT_FALSE(fw::FolderItem(PrefsPath()).Exists());
  EXPECT_EQ(Current(), (::Settings{"Ayr", "Celsius", "mph", "Tinker"}));

  // A folder in the file's place cannot be written either.
  Recorders::Get().boxes.clear();
  ASSERT_TRUE(fw::FolderItem(PrefsPath()).CreateAsFolder());
  Globals::UpdatePreferences();
  EXPECT_EQ(Recorders::Get().boxes, std::vector<std::string>{"Preference file could not be saved."});
  EXPECT_TRUE(fw::FolderItem(PrefsPath()).IsFolder());
}

TEST_F(SettingsTest, ApplicationOpenMakesTheFolderAndTheFileBeforeTheMainWindow) {
  Application().CallOpen();
  EXPECT_TRUE(fw::PreferencesFolder().Child("BZL Data")->IsFolder());
  EXPECT_EQ(ReadBytes(PrefsPath()), kNewFile);
  EXPECT_EQ(Globals::UserLocation, "");  // the main window's Open fills in the defaults
  Win();
  EXPECT_EQ(Globals::UserLocation, "Naseby, Otago, New Zealand");
  EXPECT_EQ(Label("LocationLabel"), "Naseby");
}

}  // namespace
