// Every value the main and forecast windows can show fits its label whole,
// measured with the interface font of a Debian desktop; a status text too
// long for the status line is visibly shortened and kept whole beside it.
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

#include "WindowsFixture.h"
#include "core/Weather.h"
#include "framework/text/Text.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "windows/ForecastWin.h"

namespace {

// Where a label stands, the width it may use, and its size in the record
// and at the smallest.
struct Room {
  int left, top, width, size, smallest;
};

const std::vector<std::pair<std::string, Room>>& MainLabels() {
  static const std::vector<std::pair<std::string, Room>> labels = {
      {"Current", {80, 61, 58, 12, 9}},           {"TempMaxLabel", {80, 81, 58, 12, 9}},
      {"TempMinLabel", {80, 101, 58, 12, 9}},     {"FeelsLikeLabel", {80, 121, 54, 12, 9}},
      {"SunriseLabel", {80, 140, 54, 12, 9}},     {"UVIndexLabel", {229, 61, 58, 12, 9}},
      {"WindSpeedLabel", {229, 81, 72, 12, 9}},   {"PrecipitationLabel", {229, 101, 40, 12, 9}},
      {"HumidityLabel", {229, 121, 59, 12, 9}},   {"SunsetLabel", {229, 141, 59, 12, 9}},
      {"WindDirectionLabel", {270, 71, 20, 9, 9}}};
  return labels;
}

std::vector<std::pair<std::string, Room>> ForecastLabels() {
  std::vector<std::pair<std::string, Room>> labels;
  for (int n = 1; n <= 7; ++n) {
    const int top = 43 + 36 * (n - 1);
    // Humidity reaches the rain icon; precipitation ends at the window's edge.
    labels.push_back({"Max" + fw::Str(n), {129, top, 34, 9, 7}});
    labels.push_back({"Min" + fw::Str(n), {175, top, 34, 9, 7}});
    labels.push_back({"Hum" + fw::Str(n), {222, top, 28, 9, 7}});
    labels.push_back({"Pre" + fw::Str(n), {269, top, 31, 9, 7}});
  }
  return labels;
}

// A reply with one temperature for every temperature key, and the rest.
std::string Reply(const std::string& temp, const std::string& speed, const std::string& percent,
                  const std::string& uv, const std::string& clock) {
  std::string body = "{\"current_temperature\":" + temp + ",\"current_apparent_temperature\":" + temp +
                     ",\"day1_windspeed_max\":" + speed + ",\"day1_windgusts_max\":" + speed +
                     ",\"day1_uv_index_max\":" + uv + ",\"day1_winddirection_dominant\":315" +
                     ",\"day1_sunrise\":\"" + clock + "\",\"day1_sunset\":\"" + clock + "\"";
  for (int n = 1; n <= 7; ++n) {
    const std::string d = ",\"day" + fw::Str(n);
    body += d + "_temperature_max\":" + temp + d + "_temperature_min\":" + temp;
    body += d + "_precipitation_probability_max\":" + percent + d + "_humidity_probability_max\":" + percent;
    body += d + "_forecast\":\"Snow\"";
  }
  return body + "}";
}

class ValueLabelsTest : public wintest::WindowsTest {
 protected:
  void SetUp() override {
    // The interface font of a Debian desktop, for every window made from here.
    saved_ = QApplication::font();
    QFont font = saved_;
    font.setFamily("DejaVu Sans");
    QApplication::setFont(font);
    ASSERT_EQ(QFontInfo(font).family().toStdString(), "DejaVu Sans") << "fonts-dejavu-core is missing";
    WindowsTest::SetUp();
  }
  void TearDown() override { QApplication::setFont(saved_); }

  // Every label whole, inside its room, at a size no smaller than the
  // smallest and, for values that fit the record, at the record's size.
  static void ExpectWhole(fw::Window& win, const std::vector<std::pair<std::string, Room>>& labels,
                          bool atRecordSize) {
    for (const auto& [name, room] : labels) {
      auto& text = win.Ctl<StaticText>(name);
      const auto* label = qobject_cast<const QLabel*>(text.impl().widget.data());
      ASSERT_NE(label, nullptr);
      const std::string shown = label->text().toStdString();
      SCOPED_TRACE(name + " \"" + shown + "\"");
      EXPECT_EQ(shown, text.Text());
      EXPECT_TRUE(label->toolTip().isEmpty());
      EXPECT_EQ(std::vector<int>({text.Left(), text.Top()}), std::vector<int>({room.left, room.top}));
      const int width = std::min({text.Width(), room.width, win.Width() - text.Left()});
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), width);
      const int size = label->font().pixelSize();
      EXPECT_GE(size, room.smallest);
      if (atRecordSize) {
        EXPECT_EQ(size, room.size);
      }
    }
  }

  QFont saved_;
};

TEST_F(ValueLabelsTest, EveryValueFitsWholeInEveryUnit) {
  Main().Ctl<fw::PushButton>("ForecastButton").Push();
  // Record cold and heat, a mild day; the highest wind speeds; percentages;
  // the UV index; the clock. Whether every label keeps the record's size.
  const std::vector<std::array<std::string, 6>> replies = {{"-10.5", "120.5", "100", "11.0", "23:59", "no"},
                                                           {"-40.0", "408.0", "100", "14.3", "00:00", "no"},
                                                           {"-89.2", "999.9", "0", "0.0", "12:00", "no"},
                                                           {"56.7", "120.5", "100", "11.0", "23:59", "no"},
                                                           {"21.5", "20.7", "61", "4.4", "04:14", "yes"}};
  for (const auto& units : {std::pair<std::string, std::string>{"Celsius", "km/h"}, {"Fahrenheit", "mph"}}) {
    for (const auto& [temp, speed, percent, uv, clock, atRecordSize] : replies) {
      SCOPED_TRACE(units.first + " " + temp + " " + speed);
      std::tie(Globals::UserTempUnit, Globals::UserSpeedUnit) = units;
      Globals::ParseResponse(Reply(temp, speed, percent, uv, clock));
      ExpectWhole(Main(), MainLabels(), atRecordSize == "yes");
      ExpectWhole(ForecastWin::Instance(), ForecastLabels(), atRecordSize == "yes");
    }
  }
  // The values the reply gave, in the user's units, are what is shown.
  EXPECT_EQ(MainText("Current"), "70.7" + wintest::kDegree + "F");
  EXPECT_EQ(MainText("WindSpeedLabel"), "12.9 mph");
  EXPECT_EQ(ForecastWin::Instance().Ctl<StaticText>("Max1").Text(), "70.7 " + wintest::kDegree + "F");
}

TEST_F(ValueLabelsTest, AStatusTooLongForTheStatusLineEndsInAnEllipsisAndIsKeptWhole) {
  auto& status = Main().Ctl<StaticText>("Status");
  auto* label = qobject_cast<QLabel*>(status.impl().widget.data());
  ASSERT_NE(label, nullptr);
  const std::string whole = "Error: Proxy server may be misconfigured.";
  status.SetText(whole);
  const QString shown = label->text();
  EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(shown), status.Width());
  ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_EQ(whole.rfind(shown.chopped(1).toStdString(), 0), 0u) << "the text's own words up to the ellipsis";
  EXPECT_EQ(label->toolTip().toStdString(), whole);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Description).toStdString(),
            whole);
  EXPECT_EQ(status.Text(), whole);
  status.SetText("Waiting for response...");
  EXPECT_EQ(label->text().toStdString() + "|" + label->toolTip().toStdString(), "Waiting for response...|");
}

}  // namespace
