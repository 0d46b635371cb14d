#include "TextFold.h"

#include <QChar>

namespace velmora::data {
namespace {

void appendUtf8(char32_t cp, std::string &out)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

void appendFolded(std::string_view s, std::string &out)
{
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(b >= 'A' && b <= 'Z' ? char(b + 32) : char(b));
            ++i;
            continue;
        }
        // Decode one code point; malformed bytes are copied as they are.
        char32_t cp = 0;
        size_t len = 0;
        if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            len = 4;
        }
        bool valid = len > 0 && i + len <= n;
        for (size_t k = 1; valid && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out.push_back(char(b));
            ++i;
            continue;
        }
        appendUtf8(QChar::toCaseFolded(cp), out);
        i += len;
    }
}

std::string folded(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    appendFolded(utf8, out);
    return out;
}

} // namespace velmora::data
