#include "encoding/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <stdexcept>

namespace encoding {
namespace {

// One iconv descriptor per direction and thread: opening one costs far more than
// converting a short field.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open reports failure as (iconv_t)-1.
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("no iconv conversion from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; at every sequence iconv refuses, skips skipLength(rest) bytes and
  // writes `replacement` instead.
  template <typename SkipLength>
  std::string Convert(std::string_view in, std::string_view replacement, SkipLength skipLength) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 3 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    while (inLeft > 0) {
      char* outPtr = out.data() + used;
      std::size_t outLeft = out.size() - used;
      const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      used = out.size() - outLeft;
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL (a sequence cut off at the end)
      const std::size_t skip = skipLength(std::string_view(inPtr, inLeft));
      inPtr += skip;
      inLeft -= skip;
      if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
      std::copy(replacement.begin(), replacement.end(), out.begin() + static_cast<std::ptrdiff_t>(used));
      used += replacement.size();
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 character at the start of `rest`, or 1 for a malformed byte.
std::size_t Utf8CharLength(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  std::size_t length = 1;
  if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
  } else if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  }
  if (length > rest.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(rest[i]) & 0xc0) != 0x80) return 1;
  }
  return length;
}

Converter& Utf8ToCp936Converter() {
  thread_local Converter converter("CP936", "UTF-8");
  return converter;
}

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) { return Utf8ToCp936Converter().Convert(utf8, "?", Utf8CharLength); }

std::string FirstCharacterOutsideCp936(std::string_view utf8) {
  std::string refused;
  Utf8ToCp936Converter().Convert(utf8, "", [&refused](std::string_view rest) {
    const std::size_t length = Utf8CharLength(rest);
    if (refused.empty()) refused = rest.substr(0, length);
    return length;
  });
  return refused;
}

std::string Cp936ToUtf8(std::string_view bytes) {
  thread_local Converter converter("UTF-8", "CP936");
  return converter.Convert(bytes, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
}

}  // namespace encoding
