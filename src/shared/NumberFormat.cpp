#include "shared/NumberFormat.h"

#include <clocale>
#include <cmath>
#include <cstdio>

namespace quillmoor {
namespace {
NumberLocale g_locale;
}

void SetNumberLocale(const NumberLocale& locale) { g_locale = locale; }
const NumberLocale& CurrentNumberLocale() { return g_locale; }

void UseSystemNumberLocale() {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "") != nullptr) {
    const std::lconv* conv = std::localeconv();
    NumberLocale locale;
    if (conv->decimal_point && conv->decimal_point[0] && !conv->decimal_point[1]) {
      locale.decimalPoint = conv->decimal_point[0];
    }
    // A multi-byte separator (a narrow no-break space, say) has no single-byte form:
    // fall back to a plain space.
    if (conv->thousands_sep) {
      if (conv->thousands_sep[0] == '\0') {
        locale.thousandsSeparator = (locale.decimalPoint == ',') ? '.' : ',';
      } else {
        locale.thousandsSeparator = conv->thousands_sep[1] ? ' ' : conv->thousands_sep[0];
      }
    }
    // The "C" locale groups nothing; the program's own English convention groups.
    if (std::string(std::setlocale(LC_NUMERIC, nullptr)) == "C" ||
        std::string(std::setlocale(LC_NUMERIC, nullptr)) == "POSIX") {
      locale = NumberLocale{};
    }
    g_locale = locale;
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

std::string FormatNumber(double value, int decimals) {
  double scale = std::pow(10.0, decimals);
  double rounded = std::round(std::fabs(value) * scale);
  bool negative = value < 0 && rounded != 0;
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.0f", rounded);
  std::string all = digits;
  while (static_cast<int>(all.size()) <= decimals) all.insert(all.begin(), '0');
  std::string integerPart = all.substr(0, all.size() - static_cast<size_t>(decimals));
  std::string fraction = all.substr(all.size() - static_cast<size_t>(decimals));

  std::string grouped;
  int count = 0;
  for (size_t i = integerPart.size(); i-- > 0;) {
    if (count > 0 && count % 3 == 0 && g_locale.thousandsSeparator != '\0') {
      grouped.insert(grouped.begin(), g_locale.thousandsSeparator);
    }
    grouped.insert(grouped.begin(), integerPart[i]);
    ++count;
  }
  std::string out = negative ? "-" + grouped : grouped;
  if (decimals > 0) {
    out.push_back(g_locale.decimalPoint);
    out += fraction;
  }
  return out;
}

}  // namespace quillmoor
