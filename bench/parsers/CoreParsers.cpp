// The weather reply, the update file, the preferences file and the
// AppleDouble companion that carries its type and creator. Each input puts
// the wanted keys after the filler, so every search goes through all of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Preferences.h"
#include "core/UpdateInfo.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"
#include "framework/files/FolderItem.h"
#include "parsers/Sizes.h"

namespace {

std::string WeatherReply(long fillers) {
  std::string s = "{";
  for (long i = 0; i < fillers; ++i) s += "\"note_" + std::to_string(i) + "\":\"calm and clear\",";
  s += "\"current_temperature\":20.0,\"current_apparent_temperature\":18.5,"
       "\"day1_windgusts_max\":50,\"day1_windspeed_max\":30,\"day1_uv_index_max\":5,"
       "\"day1_winddirection_dominant\":270,\"day1_sunrise\":\"06:12\",\"day1_sunset\":\"20:41\"";
  for (int d = 1; d <= 7; ++d) {
    const std::string day = "\"day" + std::to_string(d);
    s += "," + day + "_forecast\":\"Showers easing to cloud\"";
    s += "," + day + "_temperature_max\":21.5," + day + "_temperature_min\":9.5";
    s += "," + day + "_precipitation_probability_max\":40," + day + "_humidity_probability_max\":70";
  }
  return s + "}";
}

void BM_WeatherReply(benchmark::State& state) {
  const std::string reply = WeatherReply(state.range(0));
  for (auto _ : state) {
    Globals::ParseResponse(reply);
    benchmark::DoNotOptimize(WeatherValues::Day7TempMin);
  }
  if (WeatherValues::Day7TempMin != "9.5") state.SkipWithError("the reply was not read");
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_WeatherReply)->Apply([](auto* b) { parsebench::Sizes(b, 2000); });

std::string UpdateFile(long fillers) {
  std::string s;
  for (long i = 0; i < fillers; ++i) s += "note" + std::to_string(i) + ": nothing to see here\n";
  // The version this build has: no window opens, no button shows.
  s += std::string("currentX: ") + Globals::kAppVersion + "\n";
  s += "currentXChangeLog: Faster start-up<br>Clearer forecast\n";
  s += "xUrl: http://127.0.0.1:9/downloads/latest\n";
  s += "serverMessage:\n";
  s += "lockApplication: false\n";
  return s;
}

void BM_UpdateFile(benchmark::State& state) {
  const std::string file = UpdateFile(state.range(0));
  for (auto _ : state) {
    Globals::ParseUpdateInfo(file);
    benchmark::DoNotOptimize(Globals::ChangeLogData);
  }
  if (Globals::ChangeLogData.empty()) state.SkipWithError("the update file was not read");
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_UpdateFile)->Apply([](auto* b) { parsebench::Sizes(b, 20000); });

// The preferences file holds 101 pairs (as many as are read); the input
// grows with the length of their values.
void BM_Preferences(benchmark::State& state) {
  const auto file = fw::PreferencesFolder().Child("Breezeling");
  if (!file) {
    state.SkipWithError("no preferences folder");
    return;
  }
  const std::string value(static_cast<std::size_t>(state.range(0)), 'a');
  {
    std::ofstream out(file->NativePath(), std::ios::binary | std::ios::trunc);
    for (const char* key : {"userLocation", "userTempUnit", "userSpeedUnit", "userRobot"})
      out << key << "\n" << value << "\n";
    for (int i = 4; i < 101; ++i) out << "note" << i << "\n" << value << "\n";
  }
  file->SetMacType("pref");
  file->SetMacCreator("LKSP");
  for (auto _ : state) {
    Globals::CreatePreferencesFile();
    benchmark::DoNotOptimize(Globals::UserRobot);
  }
  if (Globals::UserRobot != value) state.SkipWithError("the preferences were not read");
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Preferences)->Apply([](auto* b) { parsebench::Sizes(b, 1000); });

void PutU16(std::string& out, std::uint32_t v) {
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}
void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v >> 16);
  PutU16(out, v & 0xFFFF);
}

// An AppleDouble companion of `entries` entries with distinct ids; the
// Finder info (type "pref", creator "LKSP") is the last one.
std::string Companion(long entries) {
  std::vector<std::pair<std::uint32_t, std::string>> list;
  for (long i = 1; i < entries; ++i) list.emplace_back(static_cast<std::uint32_t>(100 + i), "data");
  std::string finder = "prefLKSP";
  finder.resize(32, '\0');
  list.emplace_back(9, finder);

  std::string out;
  PutU32(out, 0x00051607);
  PutU32(out, 0x00020000);
  out.append(16, '\0');
  PutU16(out, static_cast<std::uint32_t>(list.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(26 + 12 * list.size());
  for (const auto& [id, data] : list) {
    PutU32(out, id);
    PutU32(out, offset);
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    offset += static_cast<std::uint32_t>(data.size());
  }
  for (const auto& entry : list) out += entry.second;
  return out;
}

void BM_AppleDouble(benchmark::State& state) {
  const auto item = fw::TemporaryFolder().Child("companion-bench");
  if (!item) {
    state.SkipWithError("no temporary folder");
    return;
  }
  { std::ofstream(item->NativePath(), std::ios::binary | std::ios::trunc) << "x"; }
  const std::string& path = item->NativePath();
  const std::string companionPath = path.substr(0, path.rfind('/') + 1) + "._companion-bench";
  { std::ofstream(companionPath, std::ios::binary | std::ios::trunc) << Companion(state.range(0)); }
  std::string type;
  for (auto _ : state) {
    type = item->MacType();
    benchmark::DoNotOptimize(type);
  }
  if (type != "pref") state.SkipWithError("the companion was not read");
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppleDouble)->Apply([](auto* b) { parsebench::Sizes(b, 1000); });

}  // namespace
