#include "core/WeatherValues.h"

namespace WeatherValues {

std::string Day1TempCurrent;
std::string Day1TempMax;
std::string Day2TempMax;
std::string Day3TempMax;
std::string Day4TempMax;
std::string Day5TempMax;
std::string Day6TempMax;
std::string Day7TempMax;
std::string Day1TempMin;
std::string Day2TempMin;
std::string Day3TempMin;
std::string Day4TempMin;
std::string Day5TempMin;
std::string Day6TempMin;
std::string Day7TempMin;
std::string Day1Forecast;
std::string Day2Forecast;
std::string Day3Forecast;
std::string Day4Forecast;
std::string Day5Forecast;
std::string Day6Forecast;
std::string Day7Forecast;
std::string Day1Precipitation;
std::string Day2Precipitation;
std::string Day3Precipitation;
std::string Day4Precipitation;
std::string Day5Precipitation;
std::string Day6Precipitation;
std::string Day7Precipitation;
std::string Day1Humidity;
std::string Day2Humidity;
std::string Day3Humidity;
std::string Day4Humidity;
std::string Day5Humidity;
std::string Day6Humidity;
std::string Day7Humidity;
std::string Day1WindspeedMax;
std::string Day1WindgustsMax;
std::string Day1WindDirection;
std::string Day1UVIndex;
std::string Day1Sunrise;
std::string Day1Sunset;
std::string FeelsLikeCurrent;
std::string UnitTemp;
std::string UnitSpeed;

void Release() {
  Day1TempCurrent.clear();
  Day1TempMax.clear();
  Day2TempMax.clear();
  Day3TempMax.clear();
  Day4TempMax.clear();
  Day5TempMax.clear();
  Day6TempMax.clear();
  Day7TempMax.clear();
  Day1TempMin.clear();
  Day2TempMin.clear();
  Day3TempMin.clear();
  Day4TempMin.clear();
  Day5TempMin.clear();
  Day6TempMin.clear();
  Day7TempMin.clear();
  Day1Forecast.clear();
  Day2Forecast.clear();
  Day3Forecast.clear();
  Day4Forecast.clear();
  Day5Forecast.clear();
  Day6Forecast.clear();
  Day7Forecast.clear();
  Day1Precipitation.clear();
  Day2Precipitation.clear();
  Day3Precipitation.clear();
  Day4Precipitation.clear();
  Day5Precipitation.clear();
  Day6Precipitation.clear();
  Day7Precipitation.clear();
  Day1Humidity.clear();
  Day2Humidity.clear();
  Day3Humidity.clear();
  Day4Humidity.clear();
  Day5Humidity.clear();
  Day6Humidity.clear();
  Day7Humidity.clear();
  Day1WindspeedMax.clear();
  Day1WindgustsMax.clear();
  Day1WindDirection.clear();
  Day1UVIndex.clear();
  Day1Sunrise.clear();
  Day1Sunset.clear();
  FeelsLikeCurrent.clear();
  UnitTemp.clear();
  UnitSpeed.clear();
}

}  // namespace WeatherValues
