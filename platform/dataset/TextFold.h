#pragma once

#include <string>
#include <string_view>

namespace velmora::data {

// Case folding of UTF-8 text for searching: "ČAČAK" and "čačak" fold alike.
// ASCII takes a fast path; other letters go through Unicode case folding.
void appendFolded(std::string_view utf8, std::string &out);
std::string folded(std::string_view utf8);

} // namespace velmora::data
