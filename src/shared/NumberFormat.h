// Numbers as the user reads them: digit grouping and decimal sign of the user's
// locale ("1,234.50" in English, "1.234,50" in German).
//
// The locale is read once by the front end (UseSystemNumberLocale) and can be pinned
// by tests (SetNumberLocale). Nothing else in the core looks at the C locale.
#ifndef QUILLMOOR_SHARED_NUMBERFORMAT_H_
#define QUILLMOOR_SHARED_NUMBERFORMAT_H_

#include <string>

namespace quillmoor {

struct NumberLocale {
  char decimalPoint = '.';
  char thousandsSeparator = ',';  // '\0' = no grouping
};

void SetNumberLocale(const NumberLocale& locale);
const NumberLocale& CurrentNumberLocale();
// Reads the decimal sign and the grouping character from the environment's locale.
void UseSystemNumberLocale();

// `value` rounded to `decimals` places (half away from zero), with the integer part
// grouped in threes: FormatNumber(1234.5, 2) is "1,234.50"; FormatNumber(23456, 0) is
// "23,456".
std::string FormatNumber(double value, int decimals);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_NUMBERFORMAT_H_
