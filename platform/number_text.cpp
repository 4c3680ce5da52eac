#include "platform/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

// Numbers are converted to and from text through exact integer arithmetic,
// so the digits shown never depend on the C library's rounding and a text
// always reads as the nearest extended value.
namespace {

// An unsigned integer of any size, 32 bits per limb, lowest limb first.
class BigUnsigned {
 public:
  explicit BigUnsigned(std::uint64_t value = 0) {
    if (value != 0) limbs_.push_back(static_cast<std::uint32_t>(value));
    if (value >> 32) limbs_.push_back(static_cast<std::uint32_t>(value >> 32));
  }

  bool isZero() const { return limbs_.empty(); }

  std::int64_t bitLength() const {
    if (limbs_.empty()) return 0;
    std::uint32_t top = limbs_.back();
    std::int64_t bits = 32 * static_cast<std::int64_t>(limbs_.size() - 1);
    while (top != 0) {
      ++bits;
      top >>= 1;
    }
    return bits;
  }

  // this = this * factor + addend
  void multiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    trim();
  }

  void multiplyByPowerOfFive(std::int64_t exponent) {
    constexpr std::uint32_t kFiveToThe13 = 1220703125;
    for (; exponent >= 13; exponent -= 13) multiplyAdd(kFiveToThe13, 0);
    std::uint32_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    multiplyAdd(rest, 0);
  }

  void shiftLeft(std::int64_t bits) {
    if (limbs_.empty() || bits <= 0) return;
    const std::size_t whole = static_cast<std::size_t>(bits / 32);
    const unsigned part = static_cast<unsigned>(bits % 32);
    if (part != 0) {
      std::uint32_t carry = 0;
      for (std::uint32_t& limb : limbs_) {
        const std::uint32_t next = limb >> (32 - part);
        limb = (limb << part) | carry;
        carry = next;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), whole, 0);
  }

  // Divides in place and returns the remainder.
  std::uint32_t divideSmall(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;) {
      const std::uint64_t current = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<std::uint32_t>(current / divisor);
      remainder = current % divisor;
    }
    trim();
    return static_cast<std::uint32_t>(remainder);
  }

  friend int compare(const BigUnsigned& a, const BigUnsigned& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

  // this -= other; other must not be larger.
  void subtract(const BigUnsigned& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t difference = std::int64_t{limbs_[i]} - borrow -
                                (i < other.limbs_.size() ? std::int64_t{other.limbs_[i]} : 0);
      borrow = difference < 0 ? 1 : 0;
      limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
    }
    trim();
  }

  bool bit(std::int64_t index) const {
    const std::size_t limb = static_cast<std::size_t>(index / 32);
    return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1u) != 0;
  }

  bool anyBitBelow(std::int64_t index) const {
    for (std::int64_t i = 0; i < index; ++i) {
      if (bit(i)) return true;
    }
    return false;
  }

  // The 64 bits from bit index `low` upwards.
  std::uint64_t bitsFrom(std::int64_t low) const {
    std::uint64_t result = 0;
    for (int i = 63; i >= 0; --i) result = (result << 1) | (bit(low + i) ? 1u : 0u);
    return result;
  }

  Text decimalDigits() const {
    BigUnsigned rest = *this;
    Text digits;
    while (!rest.isZero()) {
      std::uint32_t chunk = rest.divideSmall(1000000000);
      for (int i = 0; i < 9; ++i) {
        digits.push_back(static_cast<char>('0' + chunk % 10));
        chunk /= 10;
      }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits.empty()) digits.push_back('0');
    std::reverse(digits.begin(), digits.end());
    return digits;
  }

 private:
  void trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<std::uint32_t> limbs_;
};

// value * 2^binaryExponent, rounded once to the nearest extended value.
// `inexact` tells that value itself already stands for a little more.
Number roundToNumber(const BigUnsigned& value, std::int64_t binaryExponent, bool inexact = false) {
  const std::int64_t length = value.bitLength();
  if (length == 0) return 0;
  if (length <= 64 && !inexact) {
    return std::ldexp(static_cast<Number>(value.bitsFrom(0)), static_cast<int>(binaryExponent));
  }
  const std::int64_t low = std::max<std::int64_t>(length - 64, 0);
  std::uint64_t top = value.bitsFrom(low);
  const bool half = low > 0 && value.bit(low - 1);
  const bool sticky = inexact || (low > 1 && value.anyBitBelow(low - 1));
  std::int64_t shift = low + binaryExponent;
  if (half && (sticky || (top & 1u) != 0)) {
    if (++top == 0) {
      top = std::uint64_t{1} << 63;
      ++shift;
    }
  }
  return std::ldexp(static_cast<Number>(top), static_cast<int>(shift));
}

constexpr Number exactPowerOfTen(int exponent) {
  Number power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// significand * 10^exponent, correctly rounded (apart from results in the
// subnormal range, which are rounded twice).
Number scaleByPowerOfTen(std::uint64_t significand, std::int64_t exponent) {
  if (significand == 0) return 0;
  // 10^27 is the largest power of ten an extended value holds exactly, so
  // within that range one multiplication or division rounds correctly.
  if (exponent >= 0 && exponent <= 27) {
    return static_cast<Number>(significand) * exactPowerOfTen(static_cast<int>(exponent));
  }
  if (exponent < 0 && exponent >= -27) {
    return static_cast<Number>(significand) / exactPowerOfTen(static_cast<int>(-exponent));
  }
  // Beyond the extended range on either side (significand < 10^18).
  if (exponent > 4940) return std::numeric_limits<Number>::infinity();
  if (exponent < -4975) return 0;
  BigUnsigned value(significand);
  if (exponent > 0) {
    value.multiplyByPowerOfFive(exponent);
    return roundToNumber(value, exponent);
  }
  // significand * 2^s / 5^k, with s large enough for a quotient of more
  // than 64 bits, by binary long division.
  BigUnsigned divisor(1);
  divisor.multiplyByPowerOfFive(-exponent);
  const std::int64_t extra = std::max<std::int64_t>(0, 66 + divisor.bitLength() - value.bitLength());
  value.shiftLeft(extra);
  BigUnsigned quotient;
  for (std::int64_t i = value.bitLength() - divisor.bitLength(); i >= 0; --i) {
    BigUnsigned shifted = divisor;
    shifted.shiftLeft(i);
    const bool fits = compare(value, shifted) >= 0;
    if (fits) value.subtract(shifted);
    quotient.multiplyAdd(2, fits ? 1 : 0);
  }
  return roundToNumber(quotient, exponent - extra, !value.isZero());
}

// The exact decimal digits of v (> 0, finite) and the power of ten of the
// first digit.
void exactDigits(Number v, Text& digits, std::int64_t& firstPower) {
  int binaryExponent = 0;
  const Number fraction = std::frexp(v, &binaryExponent);
  auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  std::int64_t exponent = binaryExponent - 64;
  while ((significand & 1u) == 0) {
    significand >>= 1;
    ++exponent;
  }
  BigUnsigned value(significand);
  std::int64_t decimalsAfterPoint = 0;
  if (exponent >= 0) {
    value.shiftLeft(exponent);
  } else {
    // m / 2^k = m * 5^k / 10^k
    value.multiplyByPowerOfFive(-exponent);
    decimalsAfterPoint = -exponent;
  }
  digits = value.decimalDigits();
  firstPower = static_cast<std::int64_t>(digits.size()) - 1 - decimalsAfterPoint;
}

constexpr std::size_t kShownDigits = 15;

// Keeps 15 significant digits; only the 16th decides, and a 5 there rounds
// the 15th to even.
void roundToShownDigits(Text& digits, std::int64_t& firstPower) {
  const int decider = digits.size() > kShownDigits ? digits[kShownDigits] - '0' : 0;
  digits.resize(kShownDigits, '0');
  const bool lastIsOdd = (digits.back() - '0') % 2 == 1;
  if (decider > 5 || (decider == 5 && lastIsOdd)) {
    std::size_t i = kShownDigits;
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++firstPower;
    } else {
      ++digits[i - 1];
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

// The forms below are built by appending: gcc 12 warns falsely (-Wrestrict)
// when a literal is joined in front of a text or assigned to one here.
Text fixedForm(const Text& digits, std::int64_t firstPower) {
  if (firstPower < 0) {
    Text text(1, '.');
    text.append(static_cast<std::size_t>(-firstPower - 1), '0');
    return text + digits;
  }
  const auto integerDigits = static_cast<std::size_t>(firstPower + 1);
  if (digits.size() <= integerDigits) return digits + Text(integerDigits - digits.size(), '0');
  return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

Text exponentForm(const Text& digits, std::int64_t firstPower) {
  Text text = digits.substr(0, 1);
  if (digits.size() > 1) {
    text.push_back('.');
    text.append(digits, 1);
  }
  text.push_back('E');
  text.push_back(firstPower < 0 ? '-' : '+');
  return text + std::to_string(firstPower < 0 ? -firstPower : firstPower);
}

bool isDigitOf(char c, int radix, int& value) {
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else {
    return false;
  }
  return value < radix;
}

// Reads "&H..", "&B..", "&O.."/"&Q.." or "&<octal digits>" from position i
// (just after the "&").
Number readRadixNumber(const Text& t, std::size_t i) {
  int radix = 8;
  if (i < t.size()) {
    switch (t[i]) {
      case 'H': case 'h': radix = 16; ++i; break;
      case 'B': case 'b': radix = 2; ++i; break;
      case 'O': case 'o': case 'Q': case 'q': radix = 8; ++i; break;
      default: break;
    }
  }
  BigUnsigned value;
  int digit = 0;
  for (; i < t.size() && isDigitOf(t[i], radix, digit); ++i) {
    // Past the extended range every further digit only keeps it infinite.
    if (value.bitLength() > 16400) return std::numeric_limits<Number>::infinity();
    value.multiplyAdd(static_cast<std::uint32_t>(radix), static_cast<std::uint32_t>(digit));
  }
  return roundToNumber(value, 0);
}

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

constexpr int kUsedDigits = 18;
constexpr std::int64_t kLargestExponent = 9999;

Number readDecimalNumber(const Text& t, std::size_t i) {
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';

  // significand * 10^scale, from at most 18 significant digits.
  std::uint64_t significand = 0;
  int used = 0;
  std::int64_t scale = 0;
  bool anyDigit = false;
  bool afterPoint = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (!isDecimalDigit(c)) break;
    anyDigit = true;
    const int digit = c - '0';
    if (significand == 0 && digit == 0) {
      if (afterPoint) --scale;  // leading zeros only place the point
    } else if (used < kUsedDigits) {
      significand = significand * 10 + static_cast<std::uint64_t>(digit);
      ++used;
      if (afterPoint) --scale;
    } else if (!afterPoint) {
      ++scale;  // unused digits before the point still count for magnitude
    }
  }
  if (!anyDigit) return 0;

  std::int64_t exponent = 0;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
    ++i;
    bool negativeExponent = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativeExponent = t[i++] == '-';
    for (; i < t.size() && isDecimalDigit(t[i]); ++i) {
      exponent = std::min(exponent * 10 + (t[i] - '0'), kLargestExponent);
    }
    if (negativeExponent) exponent = -exponent;
  }

  const Number magnitude = scaleByPowerOfTen(significand, scale + exponent);
  return negative && magnitude != 0 ? -magnitude : magnitude;
}

template <typename Integer>
Integer toInteger(Number v) {
  if (std::isnan(v)) return 0;
  constexpr auto lowest = std::numeric_limits<Integer>::min();
  constexpr auto highest = std::numeric_limits<Integer>::max();
  if (v <= static_cast<Number>(lowest)) return lowest;
  if (v >= static_cast<Number>(highest)) return highest;
  Number whole = std::floor(v);
  const Number fraction = v - whole;  // exact for values in range
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
  return static_cast<Integer>(whole);
}

}  // namespace

Text numberToText(Number v) {
  if (std::isnan(v)) return " NaN";
  const Text sign = v < 0 ? "-" : " ";
  if (std::isinf(v)) return sign + "INF";
  if (v == 0) return " 0";
  Text digits;
  std::int64_t firstPower = 0;
  exactDigits(std::fabs(v), digits, firstPower);
  roundToShownDigits(digits, firstPower);
  const bool tooLong = firstPower >= static_cast<std::int64_t>(kShownDigits);
  const bool tooSmall = firstPower < -static_cast<std::int64_t>(kShownDigits);
  return sign + (tooLong || tooSmall ? exponentForm(digits, firstPower)
                                     : fixedForm(digits, firstPower));
}

Text trimLeft(const Text& t) {
  const std::size_t first = t.find_first_not_of(' ');
  return first == Text::npos ? Text() : t.substr(first);
}

Number textToNumber(const Text& t) {
  std::size_t i = t.find_first_not_of(" \t\r\n");
  if (i == Text::npos) return 0;
  if (t[i] == '&') return readRadixNumber(t, i + 1);
  return readDecimalNumber(t, i);
}

std::int16_t toInt16(Number v) { return toInteger<std::int16_t>(v); }
std::int32_t toInt32(Number v) { return toInteger<std::int32_t>(v); }
