// Numbers from field texts, and the two composite NMEA notations.
#pragma once

#include <cstdint>

// The text may be a field's copy or the field where it stands in its
// sentence: a ',' or '*' ends it like the terminator.
//
// A field as a real: a leading '-' and the zeros after it are taken first,
// the rest is read as a decimal number (white space, sign, digits, '.',
// exponent) with '.' as the decimal point whatever the locale. Text that
// does not start like a number gives 0.
double ParseReal(const char* text);

// A field as a 32-bit integer, with the same sign and leading-zero rules.
// Values beyond the 32-bit range saturate at its ends.
int32_t ParseInt(const char* text);

// The decimal reading of atof/atoi, locale-independent and without the
// hexadecimal, "inf" and "nan" forms.
double ReadDecimalReal(const char* text);
int32_t ReadDecimalInt(const char* text);

// hhmmss.ss to seconds of the day.
double NmeaTimeToSeconds(double hhmmss);

// ddmm.mmmm or dddmm.mmmm to decimal degrees (no hemisphere sign).
double NmeaToDegrees(double ddmm);

// The same readings of a field whose extent is known (its text and length
// where it stands in the sentence): plain digits, or a plain decimal, are
// read at once; anything else goes the general way above.
int32_t ParseIntField(const char* text, int length);
double ParseRealField(const char* text, int length);
