// The exact decimal reading: atof's numbers bit for bit, and the table's
// plain numbers as the views read them.
#include "text/decimal_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <locale.h>

using namespace quorval;

namespace {

// ---- Agreement with the C library ----------------------------------------

std::string RandomDecimal(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto digits = [&](int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + pick(10));
    return s;
  };
  std::string text;
  if (pick(8) == 0) text += ' ';
  if (const int sign = pick(4); sign == 0) text += '-';
  else if (sign == 1) text += '+';
  // Lengths favour the fast path's edges (15 to 19 digits) and long mantissas.
  const int lengths[] = {0, 1, 2, 5, 9, 15, 16, 17, 18, 19, 20, 25, 40};
  if (pick(5) == 0) text += std::string(static_cast<size_t>(pick(6)), '0');
  text += digits(lengths[pick(13)]);
  if (pick(3) != 0) text += '.' + digits(lengths[pick(13)]);
  if (pick(2) == 0) {
    text += pick(2) == 0 ? 'e' : 'E';
    if (const int sign = pick(3); sign == 0) text += '-';
    else if (sign == 1) text += '+';
    const int exponents[] = {0, 1, 5, 22, 23, 50, 290, 308, 309, 324, 330, 400};
    text += std::to_string(pick(2) == 0 ? exponents[pick(12)] : pick(400));
  }
  if (pick(6) == 0) text += "x,";
  return text;
}

TEST(DecimalReading, MatchesTheCLibraryBitForBit) {
#ifdef _WIN32
  // The program's own locale is "C" until something sets another.
  const auto strtod_l = [](const char* text, char** end, int) { return std::strtod(text, end); };
  const int cLocale = 0;
#else
  const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  ASSERT_NE(cLocale, nullptr);
#endif
  std::mt19937 rng(20260512);
  std::vector<std::string> texts = {
      "9007199254740992", "9007199254740993", "9007199254740993e-22", "1e22", "1e23",
      "123456789012345678901234567890", "2.2250738585072011e-308", "4.9e-324",
      "2.4703282292062327e-324", "2.4703282292062328e-324", "1.7976931348623157e308",
      "1.7976931348623159e308", "0.1", "-0.0", "0.000000000000000000000000001e27",
      "1e99999999999", "1e-99999999999", "00000000000000000000001.5",
      // Twenty digits whose low 64 bits are all zero.
      "18446744073709551616", "-0.18446744073709551616e1"};
  for (int i = 0; i < 5000; ++i) texts.push_back(RandomDecimal(rng));
  for (const std::string& text : texts) {
#ifdef _WIN32
    // The Windows C library reads a sign without digits as -0; the
    // grammar's reading of a text without digits is 0.
    if (text.substr(0, text.find_first_of("eEx,")).find_first_of("0123456789") == std::string::npos) {
      continue;
    }
#endif
    const double expected = strtod_l(text.c_str(), nullptr, cLocale);
    const double actual = ReadDecimalReal(text.c_str());
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
        << '"' << text << "\" gives " << actual << ", the C library " << expected;
  }
#ifndef _WIN32
  freelocale(cLocale);
#endif
}

// A number of the table, read up to the end it is given and no further.
double Plain(const std::string& text, size_t length, size_t expectedLength) {
  double value = -1;
  const char* stop = ReadPlainDecimal(text.data(), text.data() + length, value);
  EXPECT_NE(stop, nullptr) << text;
  if (stop != nullptr) {
    EXPECT_EQ(static_cast<size_t>(stop - text.data()), expectedLength) << text;
  }
  return value;
}

TEST(DecimalReading, PlainNumbersAreReadExactlyUpToTheirEnd) {
  EXPECT_EQ(Plain("48.100000,", 10, 9), 48.1);
  EXPECT_EQ(Plain("12345", 2, 2), 12.0);  // the digits past the end are not the number's
  EXPECT_TRUE(std::signbit(Plain("-0.000000", 9, 9)));
  // Seventeen and eighteen digits, whose mantissa is no exact double.
  EXPECT_EQ(Plain("9007199254740993.0", 18, 18), 9007199254740992.0);
  EXPECT_EQ(Plain("123456789012345.678", 19, 19), 123456789012345.678);
  for (const char* text : {"", "-", "5.", ".5", "+1", " 1"}) {
    double value = 0;
    EXPECT_EQ(ReadPlainDecimal(text, text + std::strlen(text), value), nullptr) << text;
  }
}

TEST(DecimalReading, PlainWholeNumbersHaveOneToEighteenDigits) {
  int64_t value = 0;
  const std::string digits = "-1234567890123456789";
  EXPECT_EQ(ReadPlainWholeNumber(digits.data(), digits.data() + 19, value), digits.data() + 19);
  EXPECT_EQ(value, -123456789012345678);
  EXPECT_EQ(ReadPlainWholeNumber(digits.data(), digits.data() + 20, value), nullptr);
  EXPECT_EQ(ReadPlainWholeNumber(digits.data(), digits.data() + 1, value), nullptr);
}

}  // namespace
