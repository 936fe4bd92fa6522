#include "shared/NumberFormat.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quillmoor {
namespace {
NumberLocale g_locale;
}

void SetNumberLocale(const NumberLocale& locale) { g_locale = locale; }
const NumberLocale& CurrentNumberLocale() { return g_locale; }

void UseSystemNumberLocale() {
  // The C locales (C, POSIX, C.UTF-8) group nothing and have the program's own
  // convention: nothing to load (loading a locale costs a short run a tenth of its time).
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    name = std::getenv(variable);
    if (name != nullptr && name[0] != '\0') break;
    name = nullptr;
  }
  const std::string_view chosen = name == nullptr ? "C" : name;
  if (chosen == "C" || chosen == "POSIX" || chosen.starts_with("C.")) {
    g_locale = NumberLocale{};
    return;
  }
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
  // Powers of ten up to 1e22 are exact doubles (pow gives the same, more slowly).
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const double scale =
      decimals >= 0 && decimals <= 22 ? kPowers[decimals] : std::pow(10.0, decimals);
  double rounded = std::round(std::fabs(value) * scale);
  bool negative = value < 0 && rounded != 0;
  char digits[400];  // the largest double has 309 digits
  // A whole number below 2^64 converts exactly: its digits as an integer's (the
  // floating-point conversion's code and tables stay on disk in a run that needs none).
  const std::to_chars_result r =
      rounded < 18446744073709551616.0
          ? std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(rounded))
          : std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed, 0);
  std::string all(digits, r.ec == std::errc() ? r.ptr : digits);
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
