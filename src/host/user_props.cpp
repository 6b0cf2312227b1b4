#include "host/user_props.h"

#include <cstdlib>

namespace host {

namespace {

std::string_view Trim(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    const size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
        if (lower(ca) != lower(cb)) return false;
    }
    return true;
}

}  // namespace

bool FindUserPropString(std::string_view buffer, std::string_view key, std::string& value) {
    const std::string_view wanted = Trim(key);
    if (wanted.empty()) return false;
    size_t pos = 0;
    while (pos <= buffer.size()) {
        size_t end = buffer.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = buffer.size();
        const std::string_view line = buffer.substr(pos, end - pos);
        const size_t equals = line.find('=');
        const std::string_view line_key = Trim(line.substr(0, equals));
        if (EqualNoCase(line_key, wanted)) {
            value = equals == std::string_view::npos ? std::string() : std::string(Trim(line.substr(equals + 1)));
            return true;
        }
        pos = end + 1;
    }
    return false;
}

bool FindUserPropInt(std::string_view buffer, std::string_view key, int& value) {
    std::string text;
    if (!FindUserPropString(buffer, key, text)) return false;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    const long long number = std::strtoll(text.c_str(), nullptr, 10);
    value = number > 2147483647LL ? 2147483647 : (number < -2147483647LL - 1 ? -2147483647 - 1 : static_cast<int>(number));
    return true;
}

}  // namespace host
