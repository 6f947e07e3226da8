#pragma once
// The parsed weather, as display text: one value per property and day,
// exactly as the reply gave it or as the unit converters rewrote it.
#include <string>

namespace WeatherValues {

extern std::string Day1TempCurrent;
extern std::string Day1TempMax;
extern std::string Day2TempMax;
extern std::string Day3TempMax;
extern std::string Day4TempMax;
extern std::string Day5TempMax;
extern std::string Day6TempMax;
extern std::string Day7TempMax;
extern std::string Day1TempMin;
extern std::string Day2TempMin;
extern std::string Day3TempMin;
extern std::string Day4TempMin;
extern std::string Day5TempMin;
extern std::string Day6TempMin;
extern std::string Day7TempMin;
extern std::string Day1Forecast;
extern std::string Day2Forecast;
extern std::string Day3Forecast;
extern std::string Day4Forecast;
extern std::string Day5Forecast;
extern std::string Day6Forecast;
extern std::string Day7Forecast;
extern std::string Day1Precipitation;
extern std::string Day2Precipitation;
extern std::string Day3Precipitation;
extern std::string Day4Precipitation;
extern std::string Day5Precipitation;
extern std::string Day6Precipitation;
extern std::string Day7Precipitation;
extern std::string Day1Humidity;
extern std::string Day2Humidity;
extern std::string Day3Humidity;
extern std::string Day4Humidity;
extern std::string Day5Humidity;
extern std::string Day6Humidity;
extern std::string Day7Humidity;
extern std::string Day1WindspeedMax;
extern std::string Day1WindgustsMax;
extern std::string Day1WindDirection;
extern std::string Day1UVIndex;
extern std::string Day1Sunrise;
extern std::string Day1Sunset;
extern std::string FeelsLikeCurrent;
extern std::string UnitTemp;
extern std::string UnitSpeed;

// Empties every value (at quit, and for a fresh start).
void Release();

}  // namespace WeatherValues
