#include "text/sent_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

using namespace quorval;

namespace {

// Room for a writer's text, and a guard past it that the writer leaves alone.
struct Room {
  char text[kMaxSentValueText + 8] = {};
  std::string operator()(const char* end) const {
    EXPECT_EQ(std::string(text + kMaxSentValueText, 8), std::string(8, '\0')) << "wrote past its room";
    return std::string(static_cast<const char*>(text), end);
  }
};

using S = const std::string&;
int Len(S s) { return static_cast<int>(s.size()); }
std::string Sent(S t) { Room r; return r(WriteSentDecimal(r.text, t.data(), Len(t))); }
std::string Plain(S t) { Room r; return r(WritePlainDecimal(r.text, t.data(), Len(t))); }
std::string Seconds(S t) { Room r; return r(WriteTimeOfDay(r.text, t.data(), Len(t))); }
std::string Utc(int y, int m, int d, S t) { Room r; return r(WriteUtc(r.text, y, m, d, t.data(), Len(t))); }
std::string Deg(S a, int w, bool n = false) { Room r; return r(WriteDegrees(r.text, a.data(), Len(a), w, n)); }
std::string Sum(S a, S b) { Room r; return r(WriteDecimalSum(r.text, a.data(), Len(a), b.data(), Len(b))); }
std::string Mps(S k) { Room r; return r(WriteKnotsAsMetresPerSecond(r.text, k.data(), Len(k))); }

// Each case: what was written, and what should have been.
void Expect(std::initializer_list<std::pair<std::string, std::string>> cases) {
  for (const auto& [written, expected] : cases) EXPECT_EQ(written, expected);
}

const std::string kLong = "120000." + std::string(kMaxSentValueText, '1');

TEST(SentValues, TextAndTimes) {
  Expect({{Sent("+.5"), "+.5"}, {Sent("-1."), "-1."}, {Sent("1.5x"), ""}, {Sent("1..2"), ""}, {Sent("+"), ""},
          {Sent(kLong), ""}, {Seconds("120000.05"), "43200.05"}, {Seconds("235960"), "86400"},
          {Seconds("000000."), "0."}, {Seconds("996060.000"), "360060.000"}, {Seconds("12000"), ""},
          {Seconds("1200000"), ""}, {Seconds("120000.0."), ""}, {Seconds(kLong), ""},
          {Utc(2024, 3, 23, "120000.05"), "2024-03-23T12:00:00.05Z"}, {Utc(1, 1, 1, "0000"), ""},
          {Utc(1, 1, 1, "000000."), "0001-01-01T00:00:00Z"}, {Utc(4, 2, 29, "235960"), "0004-02-29T23:59:60Z"},
          {Utc(2000, 2, 29, "000000"), "2000-02-29T00:00:00Z"}, {Utc(1900, 2, 29, "000000"), ""},
          {Utc(2024, 4, 31, "000000"), ""}, {Utc(10000, 1, 1, "000000"), ""}, {Utc(1, 13, 1, "000000"), ""},
          {Utc(2024, 1, 1, "240000"), ""}, {Utc(2024, 1, 1, "236000"), ""}, {Utc(2024, 1, 1, "235961"), ""},
          {Utc(2024, 1, 1, kLong), ""}});
  Expect({{Plain("+007.50"), "7.50"}, {Plain(".5"), "0.5"}, {Plain("-.5"), "-0.5"}, {Plain("12."), "12"},
          {Plain("-0.0"), "0.0"}, {Plain("000"), "0"}, {Plain("-0046.2"), "-46.2"}, {Plain("1e5"), ""}});
  EXPECT_TRUE(IsSentDecimal("1.5x", 3));
  for (auto [yy, year] : {std::pair{80, 1980}, {99, 1999}, {79, 2079}, {-1, 1999}, {INT_MIN, 2052}})
    EXPECT_EQ(FullYearOfRmc(yy), year) << yy;
}

TEST(SentValues, ExactArithmetic) {
  const std::string big = "9.22337203685477580";  // 18 digits, its units just below 2^63
  Expect({{Deg("4807.038", 4), "48.1173000"}, {Deg("4404.1306024", 4), "44.068843373"},
          {Deg("01131.000", 5, true), "-11.5166667"}, {Deg("0000.0000", 4, true), "0.0000000"},
          {Deg("18000.0", 5), "180.0000000"}, {Deg("4875.0", 4), "49.2500000"}, {Deg("5", 4), "0.0833333"},
          {Deg("5959.9999999", 4), "59.999999998"}, {Deg("0099.9999999999999999", 4), "1.666666666666666665"},
          {Deg("4807.", 4), "48.1166667"}, {Deg("4807.03800000000000000", 4), ""}, {Deg("48070.0", 4), ""},
          {Deg(".5", 4), ""}, {Deg("-4807.038", 4), ""}, {Sum("545.4", "46.9"), "592.3"},
          {Sum("1", "-3.25"), "-2.25"}, {Sum("0.5", "-0.5"), "0.0"}, {Sum("1.", "+2"), "3"},
          {Sum(big, big), "18.44674407370955160"}, {Sum(".000000001", "999999999999999999"), ""},
          {Sum("1234567890123456789", "0"), ""}, {Mps("1.0"), "0.5144"}, {Mps("-2"), "-1.0289"},
          {Mps("-0.00"), "0.0000"}, {Mps("-0.045"), "-0.0232"}, {Mps(".999999999999999"), "0.5144"},
          {Mps("999999999999999"), "514444444444443.9300"}, {Mps("9999999999999999"), ""}});
}

}  // namespace
