#include "log_generator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;  // metres, mean sphere
constexpr double kMetresPerDegree = kEarthRadius * kPi / 180;
constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;
constexpr double kMagneticVariation = -1.1;  // degrees, west

// splitmix64: a fixed sequence on every platform and compiler, unlike the
// distributions of <random>, so a given size always yields the same log.
struct Random {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double Symmetric() { return 2 * Uniform() - 1; }                             // [-1, 1)
  double Between(double low, double high) { return low + (high - low) * Uniform(); }
};

// One sentence under construction: text from '$' to the last data field;
// Finish appends the checksum and CR LF.
class Sentence {
 public:
  void Begin(const char* tag) {
    length_ = 0;
    Text(tag);
  }
  void Char(char c) { text_[length_++] = c; }
  void Comma() { Char(','); }
  void Text(const char* s) {
    while (*s != '\0') text_[length_++] = *s++;
  }
  // Decimal digits, zero-padded to at least width.
  void Unsigned(uint64_t value, int width) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i) Char('0');
    while (count > 0) Char(digits[--count]);
  }
  // Rounded to decimals places, the integer part zero-padded to width.
  void Fixed(double value, int decimals, int width) {
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const auto scaled = static_cast<uint64_t>(std::llround(std::fabs(value) * static_cast<double>(scale)));
    if (value < 0 && scaled != 0) Char('-');
    Unsigned(scaled / scale, width);
    if (decimals > 0) {
      Char('.');
      Unsigned(scaled % scale, decimals);
    }
  }
  // The NMEA checksum: XOR of every character between '$' and '*'.
  const char* Finish(int& length) {
    unsigned char sum = 0;
    for (int i = 1; i < length_; ++i) sum ^= static_cast<unsigned char>(text_[i]);
    static constexpr char kHex[] = "0123456789ABCDEF";
    Char('*');
    Char(kHex[sum >> 4]);
    Char(kHex[sum & 15]);
    Char('\r');
    Char('\n');
    length = length_;
    return text_;
  }

 private:
  char text_[256];
  int length_ = 0;
};

// Buffers whole sentences and writes them in large blocks, never more than
// the requested size.
class Sink {
 public:
  Sink(FILE* out, int64_t size) : out_(out), remaining_(size) {}
  ~Sink() { delete[] buffer_; }

  // False when the sentence no longer fits in the requested size.
  bool Put(Sentence& sentence) {
    int length;
    const char* text = sentence.Finish(length);
    if (length > remaining_) return false;
    Append(text, static_cast<size_t>(length));
    return true;
  }

  // Blank lines up to the exact size: they are read over like any line
  // without a sentence.
  void PadToSize() {
    if (remaining_ % 2 == 1) Append("\n", 1);
    while (remaining_ > 0) Append("\r\n", 2);
  }

  int Close() {
    Flush();
    return failed_ ? -1 : 0;
  }

 private:
  static constexpr size_t kBufferSize = 1 << 20;

  void Append(const char* text, size_t length) {
    if (used_ + length > kBufferSize) Flush();
    std::memcpy(buffer_ + used_, text, length);
    used_ += length;
    remaining_ -= static_cast<int64_t>(length);
  }
  void Flush() {
    if (used_ > 0 && std::fwrite(buffer_, 1, used_, out_) != used_) failed_ = true;
    used_ = 0;
  }

  FILE* out_;
  int64_t remaining_;
  char* buffer_ = new char[kBufferSize];
  size_t used_ = 0;
  bool failed_ = false;
};

struct Satellite {
  int prn;
  double elevation, azimuth;  // degrees
  double elevationRate, azimuthRate;  // degrees per second
  double signalOffset;  // dB, this satellite's antenna gain and obstruction
};

constexpr int kTracked = 12;

// The receiver's view of the sky of one system: twelve satellites that rise
// and set slowly (a pass lasts hours), of which the first 10 to 12 by PRN are
// reported. PRNs are drawn from firstPrn to firstPrn + prnCount - 1.
struct Sky {
  Satellite satellites[kTracked];
  int inView = 11;
  int firstPrn = 1;
  int prnCount = 32;

  bool Tracks(int prn) const {
    for (const Satellite& s : satellites) {
      if (s.prn == prn) return true;
    }
    return false;
  }

  void Rise(Satellite& s, Random& random, double elevation, double direction) {
    int prn;
    do {
      prn = firstPrn + static_cast<int>(random.Next() % static_cast<uint64_t>(prnCount));
    } while (Tracks(prn));
    s.prn = prn;
    s.elevation = elevation;
    s.azimuth = random.Between(0, 360);
    s.elevationRate = direction * random.Between(0.002, 0.009);
    s.azimuthRate = random.Symmetric() * 0.006;
    s.signalOffset = random.Symmetric() * 4;
  }

  void Start(Random& random, int first = 1, int count = 32) {
    firstPrn = first;
    prnCount = count;
    for (Satellite& s : satellites) s.prn = 0;
    for (Satellite& s : satellites) Rise(s, random, random.Between(8, 80), random.Symmetric() < 0 ? -1 : 1);
  }

  void Advance(Random& random) {
    for (Satellite& s : satellites) {
      s.elevation += s.elevationRate;
      s.azimuth += s.azimuthRate;
      if (s.azimuth >= 360) s.azimuth -= 360;
      if (s.azimuth < 0) s.azimuth += 360;
      // Past its highest point a satellite starts to set.
      if (s.elevation > 86) s.elevationRate = -std::fabs(s.elevationRate);
      // One that has set is replaced by another that rises.
      if (s.elevation < 3) Rise(s, random, 3, 1);
    }
    if (random.Uniform() < 1.0 / 900) inView = std::clamp(inView + (random.Uniform() < 0.5 ? -1 : 1), 10, 12);
  }

  // The satellites reported this second, ordered by PRN.
  int Reported(const Satellite* out[kTracked]) const {
    for (int i = 0; i < kTracked; ++i) out[i] = &satellites[i];
    std::sort(out, out + kTracked, [](const Satellite* a, const Satellite* b) { return a->prn < b->prn; });
    return inView;
  }
};

struct Clock {
  int year = 2024, month = 2, day = 28;  // midnight crosses into a leap day
  int secondOfDay = 21 * 3600 + 30 * 60;

  static int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
  }
  void Tick() {
    if (++secondOfDay < 86400) return;
    secondOfDay = 0;
    if (++day <= DaysIn(year, month)) return;
    day = 1;
    if (++month <= 12) return;
    month = 1;
    ++year;
  }
};

// A vehicle wandering over the country: speed and course follow slowly
// changing targets, the position integrates them.
struct Track {
  double latitude = 51.4772, longitude = -0.0123;  // degrees; crosses the prime meridian
  double speed = 0;       // metres per second
  double targetSpeed = 12;
  double course = 40;     // degrees true
  double turnRate = 0;    // degrees per second
  double altitude = 46, climbRate = 0;
  double hdopNoise = 0;

  void Advance(Random& random) {
    if (random.Uniform() < 1.0 / 120) {
      // A new leg: now and then a stop, mostly town or road speeds.
      const double pick = random.Uniform();
      targetSpeed = pick < 0.08 ? 0 : pick < 0.5 ? random.Between(5, 15) : random.Between(15, 33);
    }
    speed += std::clamp((targetSpeed - speed) * 0.08, -3.0, 2.0) + random.Symmetric() * 0.1;
    speed = std::max(speed, 0.0);

    turnRate = turnRate * 0.97 + random.Symmetric() * 0.25;
    turnRate = std::clamp(turnRate, -8.0, 8.0);
    if (speed > 0.5) course += turnRate;
    course = std::fmod(course + 360, 360);

    const double heading = course * kPi / 180;
    latitude += speed * std::cos(heading) / kMetresPerDegree;
    longitude += speed * std::sin(heading) / (kMetresPerDegree * std::cos(latitude * kPi / 180));
    if (longitude > 180) longitude -= 360;
    if (longitude <= -180) longitude += 360;

    climbRate = climbRate * 0.98 + random.Symmetric() * 0.05 + (60 - altitude) * 0.0005;
    altitude += climbRate;
    hdopNoise = hdopNoise * 0.99 + random.Symmetric() * 0.01;
  }
};

// ddmm.mmmm (degreeDigits 2) or dddmm.mmmm (3), then the hemisphere letter.
void PutAngle(Sentence& s, double degrees, int degreeDigits, char positive, char negative) {
  const auto tenThousandthMinutes = static_cast<uint64_t>(std::llround(std::fabs(degrees) * 60 * 10000));
  const uint64_t wholeDegrees = tenThousandthMinutes / 600000;
  const uint64_t minutes = tenThousandthMinutes % 600000;
  s.Unsigned(wholeDegrees, degreeDigits);
  s.Unsigned(minutes / 10000, 2);
  s.Char('.');
  s.Unsigned(minutes % 10000, 4);
  s.Comma();
  s.Char(degrees < 0 ? negative : positive);
}

void PutTime(Sentence& s, const Clock& clock) {
  s.Unsigned(static_cast<uint64_t>(clock.secondOfDay / 3600), 2);
  s.Unsigned(static_cast<uint64_t>(clock.secondOfDay / 60 % 60), 2);
  s.Unsigned(static_cast<uint64_t>(clock.secondOfDay % 60), 2);
  s.Text(".00");
}

// Course in tenths as printed, so that 359.96 reads 000.0 and not 360.0.
void PutCourse(Sentence& s, double course) {
  int64_t tenths = std::llround(course * 10);
  tenths = ((tenths % 3600) + 3600) % 3600;
  s.Fixed(static_cast<double>(tenths) / 10, 1, 3);
}

// The systems of the multi-system variant: talker, the range of ids its GSV
// give (GLONASS as 65-88, as receivers send it), the NMEA 4.10 system id and
// the two signals whose GSV it sends.
struct SystemSky {
  const char* talker;
  int firstPrn, prnCount;
  int systemId;
  int signals[2];
};

constexpr SystemSky kSystems[] = {
    {"GP", 1, 32, 1, {1, 6}},
    {"GL", 65, 24, 2, {1, 3}},
    {"GA", 1, 36, 3, {7, 2}},
    {"GB", 1, 63, 4, {1, 5}},
};
constexpr int kSystemCount = sizeof kSystems / sizeof kSystems[0];

class LogWriter {
 public:
  LogWriter(FILE* out, int64_t size, SyntheticLog kind) : sink_(out, size), kind_(kind) {
    sky_.Start(random_);
    // The GPS log stays the same bytes it has always been.
    if (kind_ == SyntheticLog::kAllSystems) {
      for (int i = 0; i < kSystemCount; ++i) skies_[i].Start(random_, kSystems[i].firstPrn, kSystems[i].prnCount);
    }
  }

  int Write() {
    while (kind_ == SyntheticLog::kGps ? WriteSecond() : WriteMultiSystemSecond()) {
      clock_.Tick();
      track_.Advance(random_);
      sky_.Advance(random_);
      if (kind_ == SyntheticLog::kAllSystems) {
        for (Sky& sky : skies_) sky.Advance(random_);
      }
    }
    sink_.PadToSize();
    return sink_.Close();
  }

 private:
  // One second of sentences; false once one no longer fits.
  bool WriteSecond() {
    const Satellite* reported[kTracked];
    const int inView = sky_.Reported(reported);
    int used[kTracked];
    int usedCount = 0;
    int signal[kTracked];
    for (int i = 0; i < inView; ++i) {
      const Satellite& sat = *reported[i];
      signal[i] = static_cast<int>(std::clamp(25 + 0.3 * sat.elevation + sat.signalOffset + random_.Symmetric(), 0.0, 55.0));
      if (sat.elevation >= 10 && signal[i] >= 27) used[usedCount++] = sat.prn;
    }
    const double hdop = std::max(0.5, 0.4 + 4.0 / std::max(usedCount, 1) + track_.hdopNoise);
    const double vdop = hdop * 1.6;
    const double pdop = std::sqrt(hdop * hdop + vdop * vdop);
    const double geoidSeparation = 45.8 + (track_.latitude - 51) * 1.5;
    const double knots = track_.speed * kKnotsPerMetrePerSecond;

    Sentence& s = sentence_;
    s.Begin("$GPGGA,");
    PutTime(s, clock_);
    s.Comma();
    PutAngle(s, track_.latitude, 2, 'N', 'S');
    s.Comma();
    PutAngle(s, track_.longitude, 3, 'E', 'W');
    s.Text(",1,");
    s.Unsigned(static_cast<uint64_t>(usedCount), 2);
    s.Comma();
    s.Fixed(hdop, 1, 1);
    s.Comma();
    s.Fixed(track_.altitude, 1, 1);  // above mean sea level
    s.Text(",M,");
    s.Fixed(geoidSeparation, 1, 1);
    s.Text(",M,,");
    if (!sink_.Put(s)) return false;

    s.Begin("$GPGSA,A,3,");
    for (int i = 0; i < kTracked; ++i) {
      if (i < usedCount) s.Unsigned(static_cast<uint64_t>(used[i]), 2);
      s.Comma();
    }
    s.Fixed(pdop, 1, 1);
    s.Comma();
    s.Fixed(hdop, 1, 1);
    s.Comma();
    s.Fixed(vdop, 1, 1);
    if (!sink_.Put(s)) return false;

    constexpr int kMessages = 3;
    for (int message = 0; message < kMessages; ++message) {
      s.Begin("$GPGSV,3,");
      s.Unsigned(static_cast<uint64_t>(message + 1), 1);
      s.Comma();
      s.Unsigned(static_cast<uint64_t>(inView), 2);
      for (int i = message * 4; i < std::min(inView, message * 4 + 4); ++i) {
        const Satellite& sat = *reported[i];
        s.Comma();
        s.Unsigned(static_cast<uint64_t>(sat.prn), 2);
        s.Comma();
        s.Unsigned(static_cast<uint64_t>(sat.elevation), 2);
        s.Comma();
        s.Unsigned(static_cast<uint64_t>(sat.azimuth), 3);
        s.Comma();
        s.Unsigned(static_cast<uint64_t>(signal[i]), 2);
      }
      if (!sink_.Put(s)) return false;
    }

    s.Begin("$GPRMC,");
    PutTime(s, clock_);
    s.Text(",A,");
    PutAngle(s, track_.latitude, 2, 'N', 'S');
    s.Comma();
    PutAngle(s, track_.longitude, 3, 'E', 'W');
    s.Comma();
    s.Fixed(knots, 1, 3);
    s.Comma();
    PutCourse(s, track_.course);
    s.Comma();
    s.Unsigned(static_cast<uint64_t>(clock_.day), 2);
    s.Unsigned(static_cast<uint64_t>(clock_.month), 2);
    s.Unsigned(static_cast<uint64_t>(clock_.year % 100), 2);
    s.Comma();
    s.Fixed(std::fabs(kMagneticVariation), 1, 1);
    s.Text(kMagneticVariation < 0 ? ",W,A" : ",E,A");
    if (!sink_.Put(s)) return false;

    s.Begin("$GPVTG,");
    PutCourse(s, track_.course);
    s.Text(",T,");
    PutCourse(s, track_.course - kMagneticVariation);
    s.Text(",M,");
    s.Fixed(knots, 1, 3);
    s.Text(",N,");
    s.Fixed(track_.speed * 3.6, 1, 3);
    s.Text(",K,A");
    return sink_.Put(s);
  }

  // One second of a receiver of every system, as u-blox receivers of
  // today order it; false once a sentence no longer fits.
  bool WriteMultiSystemSecond() {
    struct Reported {
      const Satellite* satellites[kTracked];
      int inView;
      int signal[kTracked];
      int used[kTracked];
      int usedCount;
    } reported[kSystemCount];
    int usedTotal = 0;
    for (int i = 0; i < kSystemCount; ++i) {
      Reported& r = reported[i];
      r.inView = skies_[i].Reported(r.satellites);
      r.usedCount = 0;
      for (int k = 0; k < r.inView; ++k) {
        const Satellite& sat = *r.satellites[k];
        r.signal[k] = static_cast<int>(std::clamp(22 + 0.3 * sat.elevation + sat.signalOffset + random_.Symmetric(), 0.0, 55.0));
        if (sat.elevation >= 10 && r.signal[k] >= 27) r.used[r.usedCount++] = sat.prn;
      }
      usedTotal += r.usedCount;
    }
    const double hdop = std::max(0.4, 0.3 + 6.0 / std::max(usedTotal, 1) + track_.hdopNoise);
    const double vdop = hdop * 1.4;
    const double pdop = std::sqrt(hdop * hdop + vdop * vdop);
    const double knots = track_.speed * kKnotsPerMetrePerSecond;

    Sentence& s = sentence_;
    s.Begin("$GNRMC,");
    PutTime(s, clock_);
    s.Text(",A,");
    PutAngle(s, track_.latitude, 2, 'N', 'S');
    s.Comma();
    PutAngle(s, track_.longitude, 3, 'E', 'W');
    s.Comma();
    s.Fixed(knots, 3, 1);
    s.Comma();
    PutCourse(s, track_.course);
    s.Comma();
    s.Unsigned(static_cast<uint64_t>(clock_.day), 2);
    s.Unsigned(static_cast<uint64_t>(clock_.month), 2);
    s.Unsigned(static_cast<uint64_t>(clock_.year % 100), 2);
    s.Text(",,,A,V");
    if (!sink_.Put(s)) return false;

    s.Begin("$GNVTG,");
    PutCourse(s, track_.course);
    s.Text(",T,,M,");
    s.Fixed(knots, 3, 1);
    s.Text(",N,");
    s.Fixed(track_.speed * 3.6, 3, 1);
    s.Text(",K,A");
    if (!sink_.Put(s)) return false;

    s.Begin("$GNGGA,");
    PutTime(s, clock_);
    s.Comma();
    PutAngle(s, track_.latitude, 2, 'N', 'S');
    s.Comma();
    PutAngle(s, track_.longitude, 3, 'E', 'W');
    s.Text(",1,");
    s.Unsigned(static_cast<uint64_t>(usedTotal), 2);
    s.Comma();
    s.Fixed(hdop, 2, 1);
    s.Comma();
    s.Fixed(track_.altitude, 1, 1);
    s.Text(",M,");
    s.Fixed(45.8 + (track_.latitude - 51) * 1.5, 1, 1);
    s.Text(",M,,");
    if (!sink_.Put(s)) return false;

    for (int i = 0; i < kSystemCount; ++i) {
      s.Begin("$GNGSA,A,3,");
      for (int k = 0; k < kTracked; ++k) {
        if (k < reported[i].usedCount) s.Unsigned(static_cast<uint64_t>(reported[i].used[k]), 2);
        s.Comma();
      }
      s.Fixed(pdop, 2, 1);
      s.Comma();
      s.Fixed(hdop, 2, 1);
      s.Comma();
      s.Fixed(vdop, 2, 1);
      s.Comma();
      s.Unsigned(static_cast<uint64_t>(kSystems[i].systemId), 1);
      if (!sink_.Put(s)) return false;
    }

    for (int i = 0; i < kSystemCount; ++i) {
      const Reported& r = reported[i];
      const int messages = (r.inView + 3) / 4;
      for (int signal = 0; signal < 2; ++signal) {
        for (int message = 0; message < messages; ++message) {
          s.Begin("$");
          s.Text(kSystems[i].talker);
          s.Text("GSV,");
          s.Unsigned(static_cast<uint64_t>(messages), 1);
          s.Comma();
          s.Unsigned(static_cast<uint64_t>(message + 1), 1);
          s.Comma();
          s.Unsigned(static_cast<uint64_t>(r.inView), 2);
          for (int k = message * 4; k < std::min(r.inView, message * 4 + 4); ++k) {
            const Satellite& sat = *r.satellites[k];
            s.Comma();
            s.Unsigned(static_cast<uint64_t>(sat.prn), 2);
            s.Comma();
            s.Unsigned(static_cast<uint64_t>(sat.elevation), 2);
            s.Comma();
            s.Unsigned(static_cast<uint64_t>(sat.azimuth), 3);
            s.Comma();
            // The second signal is weaker, and lost at low elevations.
            const int snr = signal == 0 ? r.signal[k] : r.signal[k] - 4;
            if (signal == 0 || sat.elevation >= 15) s.Unsigned(static_cast<uint64_t>(std::max(snr, 0)), 2);
          }
          s.Comma();
          s.Unsigned(static_cast<uint64_t>(kSystems[i].signals[signal]), 1);
          if (!sink_.Put(s)) return false;
        }
      }
    }

    s.Begin("$GNZDA,");
    PutTime(s, clock_);
    s.Comma();
    s.Unsigned(static_cast<uint64_t>(clock_.day), 2);
    s.Comma();
    s.Unsigned(static_cast<uint64_t>(clock_.month), 2);
    s.Comma();
    s.Unsigned(static_cast<uint64_t>(clock_.year), 4);
    s.Text(",00,00");
    return sink_.Put(s);
  }

  Random random_{0x5155'4F52'5641'4C31ull};
  Sink sink_;
  SyntheticLog kind_;
  Sentence sentence_;
  Clock clock_;
  Track track_;
  Sky sky_;
  Sky skies_[kSystemCount];
};

}  // namespace

int WriteSyntheticLog(FILE* out, int64_t size, SyntheticLog kind) {
  LogWriter writer(out, size < 0 ? 0 : size, kind);
  return writer.Write();
}
