#pragma once
// A date and time of day on the local wall clock, as the application reads
// and sets it field by field.
//
// TotalSeconds counts wall-clock seconds since 1904-01-01 00:00:00 local
// time, the way the classic clock did: a date set field by field and the
// current date compare by their fields, and a daylight-saving shift moves
// neither. The calendar is the proleptic Gregorian one with a year 0 (the
// year before 1), so every year, however early, is a valid date.
//
// Setting a field to a value out of its range carries over the way a
// calendar does: month 13 is January of the next year, month 0 December of
// the year before, day 31 of a 30-day month the 1st of the next month, day 0
// the last day of the month before, hour 25 one o'clock of the next day,
// second 3600 one hour later. Dates are kept within about +-285 million
// years; values beyond are held at that limit. Nothing here throws.
#include <cstdint>

namespace fw {

class Date {
 public:
  Date();  // now
  static Date Now();

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  int DayOfWeek() const;  // 1 = Sunday ... 7 = Saturday

  double TotalSeconds() const;
  void SetTotalSeconds(double seconds);  // NaN gives the epoch
  void AddSeconds(double seconds);

  void SetYear(int year);
  void SetMonth(int month);
  void SetDay(int day);
  void SetHour(int hour);
  void SetMinute(int minute);
  void SetSecond(int second);

 private:
  struct Fields {
    std::int64_t year, month, day, hour, minute, second;
  };
  Fields Split() const;
  void Join(const Fields& f);

  double total_ = 0;  // whole seconds plus the fraction of the current second
};

}  // namespace fw
