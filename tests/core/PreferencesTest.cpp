// The preferences file, the application data folder, and the settings as
// the settings window and the main window show them.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <tuple>

#include "CoreFixture.h"
#include "core/Preferences.h"
#include "framework/files/FolderItem.h"
#include "framework/ui/EditField.h"
#include "framework/ui/PopupMenu.h"
#include "windows/SettingsWin.h"

namespace {

const std::string kNewFile = "userLocation\n\nuserTempUnit\n\nuserSpeedUnit\n\nuserRobot\n\n";
const std::string kKeep = "(unchanged)";
const std::string kDefault = "Naseby, Otago, New Zealand";

std::string PrefsPath() { return fw::PreferencesFolder().Child("Breezeling")->NativePath(); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Place, temperature unit, speed unit, robot.
using Settings = std::vector<std::string>;
const Settings kKept{kKeep, kKeep, kKeep, kKeep};

Settings Current() {
  return {Globals::UserLocation, Globals::UserTempUnit, Globals::UserSpeedUnit, Globals::UserRobot};
}

void Set(const Settings& s) {
  std::tie(Globals::UserLocation, Globals::UserTempUnit, Globals::UserSpeedUnit, Globals::UserRobot) =
      std::tie(s.at(0), s.at(1), s.at(2), s.at(3));
}

// Reads the file (when given) after putting a marker into every setting, so
// that a setting the file does not give is seen as kept.
Settings ReadFile(const std::optional<std::string>& bytes = std::nullopt) {
  if (bytes) WriteBytes(PrefsPath(), *bytes);
  Set(kKept);
  Globals::CreatePreferencesFile();
  return Current();
}

void ExpectOurCodes(const fw::FolderItem& file) {
  EXPECT_EQ(file.MacType() + "/" + file.MacCreator(), "pref/LKSP");
}

TEST(PreferencesFile, KeysAreFoundWhereverTheyStandAndTheFirstWins) {
  std::string junk;  // 100 pairs that are not ours
  for (int i = 0; i < 100; ++i) junk += "other" + std::to_string(i) + "\nvalue\n";
  std::string longFile = "userLocation\nHere\nuserTempUnit\nCelsius\nuserSpeedUnit\nmph\nuserRobot\nGizmo\n";
  for (int i = 0; i < 5000; ++i) longFile += "k\nv\n";
  const std::vector<std::tuple<const char*, std::string, Settings>> cases = {
      {"as written",
       "userLocation\nA place\nuserTempUnit\nFahrenheit\nuserSpeedUnit\nmph\nuserRobot\nGizmo\n",
       {"A place", "Fahrenheit", "mph", "Gizmo"}},
      {"other order, extra pairs",
       "userRobot\nQ-7\ncolour\nblue\nuserSpeedUnit\nkm/h\nuserLocation\nAyr\nlast seen\n2024\n"
       "userTempUnit\nCelsius\n",
       {"Ayr", "Celsius", "km/h", "Q-7"}},
      {"repeated key", "userLocation\nFirst\nuserLocation\nSecond\n", {"First", kKeep, kKeep, kKeep}},
      {"odd number of lines", "userLocation\nX\nuserRobot", {"X", kKeep, kKeep, ""}},
      {"CR and CR LF line ends",
       "userLocation\r\nA\r\nuserTempUnit\rFahrenheit\r",
       {"A", "Fahrenheit", kKeep, kKeep}},
      {"key letter case", "USERLOCATION\nB\n", {"B", kKeep, kKeep, kKeep}},
      {"keys compared whole", " userLocation\nC\nuserLocation:\nD\n", kKept},
      {"values untrimmed", "userLocation\n  spaced  \n", {"  spaced  ", kKeep, kKeep, kKeep}},
      {"a value that looks like a key",
       "userTempUnit\nuserLocation\nuserLocation\nReal\n",
       {"Real", "userLocation", kKeep, kKeep}},
      {"empty values", kNewFile, {"", "", "", ""}},
      {"empty file", "", kKept},
      {"the 101st pair is read", junk + "userLocation\nLate\n", {"Late", kKeep, kKeep, kKeep}},
      {"a 102nd is not", junk + "spare\nx\nuserLocation\nTooLate\n", kKept},
      {"101 pairs without the key", junk + "spare\nx\n", kKept},
      {"the four keys before thousands of lines", longFile, {"Here", "Celsius", "mph", "Gizmo"}},
  };
  for (const auto& [what, bytes, expected] : cases) EXPECT_EQ(ReadFile(bytes), expected) << what;
  EXPECT_TRUE(Boxes().empty());
}

TEST(PreferencesFile, ReadingKeepsACodeOfOursAndStampsAForeignFile) {
  // Type and creator before, then after.
  const std::vector<std::array<std::string, 4>> cases = {{"pref", "ABCD", "pref", "ABCD"},
                                                         {"TEXT", "LKSP", "TEXT", "LKSP"},
                                                         {"TEXT", "ttxt", "pref", "LKSP"},
                                                         {"", "", "pref", "LKSP"}};
  for (const auto& [type, creator, typeAfter, creatorAfter] : cases) {
    SCOPED_TRACE(type + "/" + creator);
    const fw::FolderItem file(PrefsPath());
    file.Delete();
    WriteBytes(PrefsPath(), "userLocation\nKept\n");
    if (!type.empty()) file.SetMacType(type);
    if (!creator.empty()) file.SetMacCreator(creator);
    EXPECT_EQ(ReadFile()[0], "Kept");
    EXPECT_EQ(file.MacType() + "/" + file.MacCreator(), typeAfter + "/" + creatorAfter);
    EXPECT_EQ(ReadBytes(PrefsPath()), "userLocation\nKept\n");  // reading writes no text
  }
}

TEST(PreferencesFile, AFileThatCannotBeReadOrMadeIsReportedAndLeftAlone) {
  ASSERT_TRUE(fw::FolderItem(PrefsPath()).CreateAsFolder());  // a folder where the file should be
  EXPECT_EQ(ReadFile(), kKept);
  EXPECT_TRUE(fw::FolderItem(PrefsPath()).IsFolder());
  std::filesystem::remove(PrefsPath());
  // A link to a folder that does not exist: the file cannot be made.
  std::filesystem::create_symlink(PrefsPath() + "-nowhere/file", PrefsPath());
  EXPECT_EQ(ReadFile(), kKept);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Preference file could not be read.",
                                               "Preference file could not be created."}));
}

TEST(PreferencesFile, FirstStartWritesTheFourKeysWithTypeCreatorAndOwnerResource) {
  Set({"", "", "", ""});
  Globals::CreatePreferencesFile();
  EXPECT_EQ(ReadBytes(PrefsPath()), kNewFile);
  const fw::FolderItem file(PrefsPath());
  ExpectOurCodes(file);
  const auto fork = file.OpenResourceFork();
  ASSERT_NE(fork, nullptr);
  ASSERT_EQ(fork->Resources().size(), 1u);
  const std::optional<fw::Resource> owner = fork->GetResource("Ownr", 128);
  ASSERT_TRUE(owner.has_value());
  EXPECT_EQ(owner->name, "Owner ID");
  EXPECT_EQ(owner->data, "Preferences");
  EXPECT_EQ(Current(), (Settings{"", "", "", ""}));
  // The next start reads it back, empty, and leaves its fork alone.
  EXPECT_EQ(ReadFile(), (Settings{"", "", "", ""}));
  EXPECT_EQ(file.OpenResourceFork()->Resources().size(), 1u);
}

TEST(DataFolder, IsMadeInvisibleWithItsSubfolderAndRepairedAtEveryStart) {
  const fw::FolderItem data = *fw::PreferencesFolder().Child("BZL Data");
  const fw::FolderItem temp = *data.Child("Temp Data");
  Globals::CreateAppDataDirectories();
  EXPECT_TRUE(data.IsFolder() && temp.IsFolder());
  EXPECT_FALSE(data.Visible());

  // Visible and without its subfolder: both repaired, and what it holds stays.
  ASSERT_TRUE(temp.Delete());
  data.SetVisible(true);
  Globals::CreateAppDataDirectories();
  EXPECT_TRUE(temp.IsFolder());
  EXPECT_FALSE(data.Visible());
  WriteBytes(temp.NativePath() + "/cache", "x");
  Globals::CreateAppDataDirectories();
  EXPECT_EQ(ReadBytes(temp.NativePath() + "/cache"), "x");

  // A file in the folder's place is not a fault.
  ASSERT_TRUE(std::filesystem::remove_all(data.NativePath()) > 0);
  WriteBytes(data.NativePath(), "not a folder");
  Globals::CreateAppDataDirectories();
  EXPECT_EQ(ReadBytes(data.NativePath()), "not a folder");
}

class SettingsTest : public CoreTest {
 protected:
  fw::EditField& Location() { return SettingsWin::Instance().Ctl<fw::EditField>("Location"); }
  fw::PopupMenu& Popup(const std::string& name) { return SettingsWin::Instance().Ctl<fw::PopupMenu>(name); }
  void Select(const std::string& popup, const std::string& item) {
    auto& menu = Popup(popup);
    for (int i = 0; i < menu.ListCount(); ++i)
      if (menu.List(i) == item) menu.SetListIndex(i);
    ASSERT_EQ(menu.Text(), item);
  }
};

TEST_F(SettingsTest, StoredSettingsSelectTheirItemsAndShortOnesTakeTheDefault) {
  const Settings defaults{kDefault, "Celsius", "km/h", "Rivet"};
  // Stored, then the place label (up to the first comma, else the first
  // space), the three pop-ups' rows and the settings after.
  const std::vector<std::tuple<Settings, std::string, std::vector<int>, Settings>> cases = {
      {{"", "", "", ""}, "Naseby", {0, 0, 0}, defaults},
      {{"NY", "F", "mp", "Q7"}, "Naseby", {0, 0, 0}, defaults},
      {{"Ayr", "Fahrenheit", "mph", "Q-7"}, "Ayr", {1, 1, 2}, {"Ayr", "Fahrenheit", "mph", "Q-7"}},
      {{"New York, USA", "fahrenheit", "MPH", "gizmo"},
       "New York",
       {1, 1, 10},
       {"New York, USA", "fahrenheit", "MPH", "gizmo"}},
      {{"Port Chalmers", "Kelvin", "knots", "Robby"},
       "Port",
       {-1, -1, -1},
       {"Port Chalmers", "Kelvin", "knots", "Robby"}},
      {{"Zürich, Schweiz", "", "", "Rivet"},
       "Zürich",
       {0, 0, 0},
       {"Zürich, Schweiz", "Celsius", "km/h", "Rivet"}},
  };
  for (const auto& [stored, label, rows, after] : cases) {
    SCOPED_TRACE(stored[0]);
    Set(stored);
    Win();
    Globals::SetDefaultPrefs();
    EXPECT_EQ(Current(), after);
    EXPECT_EQ(Location().Text(), after[0]);
    EXPECT_EQ(Label("LocationLabel"), label);
    const std::vector<int> shown = {Popup("Temp").ListIndex(), Popup("Speed").ListIndex(),
                                    Popup("Robot").ListIndex()};
    EXPECT_EQ(shown, rows);
  }
}

TEST_F(SettingsTest, SaveReplacesTheWholeFileWithOneLineValuesAndTheNextStartReadsThemBack) {
  WriteBytes(PrefsPath(), "junk\n1\nuserLocation\nOld\nmore\n2\nuserRobot\nTinker\n");
  fw::FolderItem(PrefsPath()).SetMacCreator("ABCD");
  Win();
  Location().SetText("  Zürich,\rSchweiz\n ");
  Select("Temp", "Fahrenheit");
  Select("Speed", "mph");
  Select("Robot", "Gizmo");
  Globals::UserRobot = "Rivet";
  Globals::UpdatePreferences();
  // The robot is taken by Save itself, not here.
  EXPECT_EQ(Current(), (Settings{"  Zürich,\rSchweiz\n ", "Fahrenheit", "mph", "Rivet"}));
  EXPECT_EQ(ReadBytes(PrefsPath()),
            "userLocation\n  Zürich, Schweiz  \nuserTempUnit\nFahrenheit\n"
            "userSpeedUnit\nmph\nuserRobot\nGizmo\n");
  ExpectOurCodes(fw::FolderItem(PrefsPath()));
  EXPECT_EQ(ReadFile(), (Settings{"  Zürich, Schweiz  ", "Fahrenheit", "mph", "Gizmo"}));
  EXPECT_TRUE(Boxes().empty());
}

// The eight lines a save writes.
std::string Saved(const std::string& place, const std::string& temp, const std::string& speed,
                  const std::string& robot) {
  return "userLocation\n" + place + "\nuserTempUnit\n" + temp + "\nuserSpeedUnit\n" + speed +
         "\nuserRobot\n" + robot + "\n";
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

TEST_F(SettingsTest, SaveReplacesALinkedFileAtItsTargetAndKeepsItsPermissions) {
  namespace fs = std::filesystem;
  const std::string folder = fw::PreferencesFolder().NativePath(),
                    elsewhere = folder + "/dotfiles/Breezeling";
  fs::create_directories(folder + "/dotfiles");
  // What is prepared, and the file the text must reach.
  const std::vector<std::tuple<const char*, std::function<void()>, std::string>> cases = {
      {"a file only its owner may read",
       [&] {
         WriteBytes(PrefsPath(), "userLocation\nOld\n");
         chmod(PrefsPath().c_str(), 0600);
       },
       PrefsPath()},
      {"a link into another folder",
       [&] {
         WriteBytes(elsewhere, "userLocation\nOld\n");
         chmod(elsewhere.c_str(), 0640);
         fs::create_symlink("dotfiles/Breezeling", PrefsPath());
       },
       elsewhere},
  };
  Win();
  Location().SetText("Ayr");
  for (const auto& [what, prepare, target] : cases) {
    SCOPED_TRACE(what);
    fs::remove(PrefsPath());
    prepare();
    const auto mode = fs::status(target).permissions();
    const bool linked = fs::is_symlink(PrefsPath());
    std::set<std::string> before = Names(folder);
    Globals::UpdatePreferences();
    EXPECT_EQ(ReadBytes(target), Saved("Ayr", "Celsius", "km/h", "Rivet"));
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(fs::is_symlink(PrefsPath()), linked);
    ExpectOurCodes(fw::FolderItem(PrefsPath()));
    std::set<std::string> after = Names(folder);
    after.erase("._Breezeling");
    before.erase("._Breezeling");
    EXPECT_EQ(after, before);  // no temporary file left behind
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingsTest, ASaveThatRunsOutOfDiskIsReportedAndLeavesTheOldFileWhole) {
  const std::string old = Saved("Naseby, Otago, New Zealand", "Fahrenheit", "mph", "Gizmo");
  WriteBytes(PrefsPath(), old);
  Win();
  Location().SetText("Ayr");
  {
    // Writes past a few bytes fail, as on a full disk.
    rlimit saved{}, full{};
    getrlimit(RLIMIT_FSIZE, &saved);
    full = saved;
    full.rlim_cur = 16;
    const auto oldSignal = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    Globals::UpdatePreferences();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldSignal);
  }
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Preference file could not be saved."});
  EXPECT_EQ(ReadBytes(PrefsPath()), old);
  EXPECT_EQ(Names(fw::PreferencesFolder().NativePath()), std::set<std::string>{"Breezeling"});
}

TEST_F(SettingsTest, KillingASaveAtAnyMomentLeavesTheWholeOldOrTheWholeNewFile) {
  const std::string places[2] = {"Ayr", "Naseby, Otago, New Zealand"};
  const std::string texts[2] = {Saved(places[0], "Celsius", "km/h", "Rivet"),
                                Saved(places[1], "Celsius", "km/h", "Rivet")};
  Globals::CreatePreferencesFile();  // with its codes and owner resource
  WriteBytes(PrefsPath(), texts[0]);
  Win();
  std::mt19937 random{std::random_device{}()};
  // Long enough to cover a save and the start of the next one.
  std::uniform_int_distribution<int> microseconds(0, 6000);
  for (int kill = 0; kill < 50; ++kill) {
    // Each child saves the other text over and over until it is killed.
    Location().SetText(places[(kill + 1) % 2]);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      close(ready[0]);
      try {
        if (write(ready[1], "r", 1) != 1) _exit(2);
        for (;;) Globals::UpdatePreferences();
      } catch (...) {
        _exit(3);
      }
    }
    close(ready[1]);
    pollfd started{ready[0], POLLIN, 0};
    char byte = 0;
    const bool running = poll(&started, 1, 10000) == 1 && read(ready[0], &byte, 1) == 1;
    const auto at = std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds(random));
    while (std::chrono::steady_clock::now() < at) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    ASSERT_TRUE(running);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped on its own: " << status;
    const std::string now = ReadBytes(PrefsPath());
    ASSERT_TRUE(now == texts[0] || now == texts[1]) << "after kill " << kill << ": \"" << now << "\"";
  }
  ExpectOurCodes(fw::FolderItem(PrefsPath()));
  EXPECT_TRUE(fw::FolderItem(PrefsPath()).OpenResourceFork()->GetResource("Ownr", 128));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingsTest, SaveWithoutAFileIsReportedAndMakesNone) {
  Win();
  Location().SetText("Ayr");
  Select("Speed", "mph");
  Globals::UserRobot = "Tinker";
  Globals::UpdatePreferences();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Preference file not found. Please restart the application."});
  EXPECT_FALSE(fw::FolderItem(PrefsPath()).Exists());
  EXPECT_EQ(Current(), (Settings{"Ayr", "Celsius", "mph", "Tinker"}));

  // A folder in the file's place cannot be written either.
  Recorders::Get().boxes.clear();
  ASSERT_TRUE(fw::FolderItem(PrefsPath()).CreateAsFolder());
  Globals::UpdatePreferences();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Preference file could not be saved."});
  EXPECT_TRUE(fw::FolderItem(PrefsPath()).IsFolder());
}

TEST_F(SettingsTest, ApplicationOpenMakesTheFolderAndTheFileAndTheMainWindowFillsInTheDefaults) {
  Application().CallOpen();
  EXPECT_TRUE(fw::PreferencesFolder().Child("BZL Data")->IsFolder());
  EXPECT_EQ(ReadBytes(PrefsPath()), kNewFile);
  EXPECT_EQ(Globals::UserLocation, "");
  Win();
  EXPECT_EQ(Current(), (Settings{kDefault, "Celsius", "km/h", "Rivet"}));
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
