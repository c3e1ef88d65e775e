#include "support/sjis.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>
#include <stdexcept>

namespace yomi6::test {

std::string Sjis(std::string_view utf8) {
    iconv_t cd = ::iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    }
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* inp = in.data();
    char* outp = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = ::iconv(cd, &inp, &inLeft, &outp, &outLeft);
    ::iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("not convertible to CP932: " + in);
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string Hex(std::string_view hex) {
    std::string out;
    unsigned value = 0;
    int digits = 0;
    for (const char c : hex) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        }
        if (d < 0) {
            continue;
        }
        value = value * 16 + static_cast<unsigned>(d);
        if (++digits == 2) {
            out.push_back(static_cast<char>(value));
            value = 0;
            digits = 0;
        }
    }
    return out;
}

std::string ToHex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (const char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(c));
        if (!out.empty()) {
            out.push_back(' ');
        }
        out += buf;
    }
    return out;
}

} // namespace yomi6::test
